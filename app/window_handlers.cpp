// Window-level handlers: minimum size, page change, quit, and the command table.

#include "app/main_form.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QSlider>
#include <QTabWidget>

#include <cmath>

namespace {
constexpr int MinimumOuterWidth = 756;
constexpr int MinimumOuterHeight = 607;
constexpr int ConversionPage = 2;
}  // namespace

void TForm1::FormResize()
{
    // The outer size includes the frame; the client keeps the difference.
    const QSize outer = frameGeometry().size();
    const QSize frame = outer - size();
    QSize client = size();
    if (outer.width() < MinimumOuterWidth) client.setWidth(MinimumOuterWidth - frame.width());
    if (outer.height() < MinimumOuterHeight) client.setHeight(MinimumOuterHeight - frame.height());
    if (client != size()) resize(client);
}

void TForm1::PageControl1Change()
{
    if (PageControl1->currentIndex() == ConversionPage) {
        Panel1->hide();
        // Half the outer width, ties to even (the default rounding mode).
        GroupBox5->setFixedWidth(static_cast<int>(std::nearbyint(frameGeometry().width() / 2.0)));
    } else {
        Panel1->show();
    }
}

void TForm1::Quitter1_oldClick()
{
    close();
}

void TForm1::ApplyCommandState(TCommandEvent event)
{
    const bool twoOrMore = DocumentCount() >= 2;
    for (const TCommandRow& row : CommandTable()) {
        const TCommandCell cell = row.Cells[static_cast<std::size_t>(event)];
        if (cell == TCommandCell::Keep) continue;
        const QString name = QString::fromLatin1(row.Control);
        if (name == QLatin1String("StatusBar1")) {
            if (cell == TCommandCell::Clear) SetStatusText(QString());
            continue;
        }
        const bool on = cell == TCommandCell::On || cell == TCommandCell::OnZero ||
                        (cell == TCommandCell::TwoOrMore && twoOrMore);
        if (name == QLatin1String("PopupMenu1")) {
            PopupMenu1AutoPopup = on;
        } else if (auto* menu = findChild<QMenu*>(name)) {
            menu->menuAction()->setEnabled(on);
        } else if (auto* action = findChild<QAction*>(name)) {
            action->setEnabled(on);
        } else if (auto* widget = findChild<QWidget*>(name)) {
            widget->setEnabled(on);
            if (cell == TCommandCell::OnZero || cell == TCommandCell::OffZero)
                if (auto* slider = qobject_cast<QSlider*>(widget)) slider->setValue(0);
        } else {
            qFatal("command table names an unknown control: %s", row.Control);
        }
    }
}

void TForm1::ApplyTwoOrMoreRule()
{
    const bool twoOrMore = DocumentCount() >= 2;
    toutfermer->setEnabled(twoOrMore);
    CustomItem1->setEnabled(twoOrMore);
}
