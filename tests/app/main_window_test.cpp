#include "tests/harness/gui_test.h"

#include "platform/controls/radio_group.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QMenu>
#include <QProgressBar>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>

class MainWindowTest : public TGuiTest {};

TEST_F(MainWindowTest, CommandsStartInTheirDesignState)
{
    auto form = CreateForm();
    const std::pair<const char*, bool> actions[] = {
        {"Ouvrir1", true}, {"fermer", false}, {"toutfermer", false}, {"Enregistrersous1", false},
        {"CustomItem1", false}, {"Conversiondimages1", true}, {"Activerlescanner1", true}, {"Scanner1", true},
        {"ScanneretEnregistrer1", true}, {"ToutenUn1", true}, {"ScanneretImprimer1", true}, {"pdf", false},
        {"AperuavantImpression1", false}, {"Imprimer1", false}, {"Configurerlimprimante1", true},
        {"Quitter1", true}, {"Annuler1", false}, {"Copier1", false}, {"Coller1", true}, {"Aide1", true},
        {"web", true}};
    for (const auto& [name, enabled] : actions) {
        auto* action = form->findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->isEnabled(), enabled) << name;
    }
    EXPECT_FALSE(form->Image1->menuAction()->isEnabled());
    EXPECT_FALSE(form->PopupMenu1AutoPopup);

    const std::pair<QWidget*, bool> controls[] = {
        {form->SpeedButton5, true}, {form->SpeedButton6, false}, {form->SpeedButton2, false},
        {form->SpeedButton1, false}, {form->SpeedButton4, false}, {form->SpeedButton7, false},
        {form->SpeedButton3, false}, {form->TrackBar1, true}, {form->zoom, false}, {form->retour45, false},
        {form->vert, false}, {form->hor, false}, {form->SpeedButton9, false}, {form->SpeedButton10, false},
        {form->SpeedButton11, false}};
    for (const auto& [control, enabled] : controls) EXPECT_EQ(control->isEnabled(), enabled) << control->objectName().toStdString();

    EXPECT_TRUE(form->SpeedButton11->isChecked());
    EXPECT_FALSE(form->SpeedButton10->isChecked());
    EXPECT_EQ(form->ComboBox3->currentText(), QStringLiteral("200"));
    EXPECT_EQ(form->ComboBox3->currentIndex(), -1);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("1"));
    EXPECT_EQ(form->formats->ItemIndex(), -1);
    EXPECT_EQ(form->langage->ItemIndex(), 0);
    EXPECT_EQ(form->Effetmenu->ItemIndex(), 1);
    EXPECT_EQ(form->transparence->value(), 200);
    EXPECT_TRUE(form->acrobate->isChecked());
    EXPECT_TRUE(form->CheckBox3->isChecked());
    EXPECT_EQ(form->themes->currentText(), QStringLiteral("Pas de thème"));
    EXPECT_EQ(form->themes->itemText(form->themes->count() - 1), QStringLiteral("Autre..."));
    EXPECT_EQ(form->ImageList1.Count, 27);
    for (int i = 0; i < TImageList::Count; ++i) EXPECT_FALSE(form->ImageList1.Icon(i).isNull()) << i;
}

TEST_F(MainWindowTest, WindowSnapsBackToItsMinimumSize)
{
    auto form = CreateForm();
    form->show();
    const QSize frame = form->frameGeometry().size() - form->size();
    const struct {
        QSize Outer;
        QSize Expected;
    } cases[] = {
        {{500, 400}, {756, 607}},
        {{700, 800}, {756, 800}},  // only narrower: only the width snaps
        {{900, 500}, {900, 607}},
    };
    for (const auto& c : cases) {
        form->resize(c.Outer - frame);
        EXPECT_EQ(form->frameGeometry().size(), c.Expected) << c.Outer.width() << "x" << c.Outer.height();
    }
}

TEST_F(MainWindowTest, NothingIsClippedAtTheMinimumSize)
{
    auto form = CreateForm();
    form->show();
    form->resize(100, 100);
    for (int page = 0; page < form->PageControl1->count(); ++page) {
        form->PageControl1->setCurrentIndex(page);
        QCoreApplication::processEvents();
        for (QWidget* w : form->findChildren<QWidget*>()) {
            if (!w->isVisible() || w->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored) continue;
            if (!qobject_cast<QAbstractButton*>(w) && !qobject_cast<QLabel*>(w)) continue;
            const QSize need = w->minimumSizeHint().expandedTo(w->minimumSize());
            EXPECT_GE(w->width(), need.width()) << page << " " << w->objectName().toStdString();
            EXPECT_GE(w->height(), need.height()) << page << " " << w->objectName().toStdString();
            EXPECT_TRUE(form->rect().contains(QRect(w->mapTo(form.get(), QPoint()), w->size())))
                << page << " " << w->objectName().toStdString() << " lies outside the window";
        }
    }
}

TEST_F(MainWindowTest, ConversionPageHidesTheActionPanel)
{
    auto form = CreateForm();
    form->show();
    form->resize(QSize(901, 700) - (form->frameGeometry().size() - form->size()));
    form->PageControl1->setCurrentIndex(2);
    EXPECT_FALSE(form->Panel1->isVisible());
    QCoreApplication::processEvents();
    ASSERT_EQ(form->frameGeometry().width(), 901);
    EXPECT_EQ(form->GroupBox5->width(), 450);  // 450.5 rounds to even
    for (int page : {0, 1}) {
        form->PageControl1->setCurrentIndex(2);
        form->PageControl1->setCurrentIndex(page);
        EXPECT_TRUE(form->Panel1->isVisible()) << page;
    }
}

TEST_F(MainWindowTest, ControlsHaveAccessibleNamesAndIconOnlyButtonsShowTheirHint)
{
    auto form = CreateForm();
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (w->focusPolicy() == Qt::NoFocus || qobject_cast<QTabWidget*>(w)) continue;
        const bool named = !w->accessibleName().isEmpty() ||
                           (qobject_cast<QAbstractButton*>(w) && !static_cast<QAbstractButton*>(w)->text().isEmpty());
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QSlider*>(w)) {
            EXPECT_TRUE(named) << w->metaObject()->className() << " " << w->objectName().toStdString() << " in "
                               << (w->parentWidget() ? w->parentWidget()->objectName().toStdString() : "");
        }
    }
    EXPECT_EQ(form->SpeedButton9->toolTip(), QStringLiteral("Ajuster les Couleurs"));
    EXPECT_EQ(form->zoom->toolTip(), QStringLiteral("Zoom"));
    EXPECT_EQ(form->retour45->accessibleName(), QStringLiteral("Pivoter de 90°"));
}

TEST_F(MainWindowTest, QuitClosesTheWindowAndProgressReachesTheBar)
{
    auto form = CreateForm();
    form->show();
    form->ImageViewProgress(nullptr, 42);
    EXPECT_EQ(form->ProgressBar1->value(), 42);
    Call(*form, &TForm1::Quitter1_oldClick);
    EXPECT_FALSE(form->isVisible());
}
