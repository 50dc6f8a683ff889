// View controls and the clipboard.

#include "app/main_form.h"

#include "platform/proc/image_proc.h"
#include "platform/view/image_view.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLocale>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <cmath>

namespace {

constexpr int Modified = 1;
constexpr int TrackBarMax = 20000;
// Zoom of a text that is not a number: 10 %.
constexpr int UnparsedZoomPosition = 100;

// Track bar position (tenths of a percent) for a typed zoom, clamped to the bar's range.
int ZoomPosition(const QString& text)
{
    bool ok = false;
    const double percent = QLocale().toDouble(text, &ok);
    if (!ok || std::isnan(percent)) return UnparsedZoomPosition;
    return int(std::trunc(std::clamp(percent * 10.0, 0.0, double(TrackBarMax))));
}

} // namespace

void TForm1::TrackBar1Change()
{
    TImageView* view = ActiveView();
    if (!view) return;
    if (view->AutoFit()) view->SetAutoFit(false);
    view->SetZoom(TrackBar1->value() / 10.0);
}

void TForm1::zoomChange()
{
    TImageView* view = ActiveView();
    const QString text = zoom->currentText();
    if (text == QLatin1String("Ajuster")) {
        if (!view) return;
        view->Fit();
        TrackBar1->setValue(int(std::trunc(view->Zoom() * 10.0)));
        return;
    }
    TrackBar1->setValue(ZoomPosition(text));
    if (view) view->SetZoom(TrackBar1->value() / 10.0);
}

void TForm1::retour45Click()
{
    TImageView* view = ActiveView();
    if (!view) return;
    view->Proc().Rotate(90, /*antialias=*/true, ierFast, view->Proc().Background);
    view->Tag = Modified;
}

void TForm1::vertClick()
{
    TImageView* view = ActiveView();
    if (!view) return;
    view->Proc().Flip(fdVertical);
    view->Tag = Modified;
}

void TForm1::horClick()
{
    TImageView* view = ActiveView();
    if (!view) return;
    view->Proc().Flip(fdHorizontal);
    view->Tag = Modified;
}

void TForm1::SpeedButton10Click()
{
    TImageView* view = ActiveView();
    if (!view) return;
    view->SetMouseInteract(miSelect);
    view->SetCursor(crImageViewStandard);
}

void TForm1::ImageViewMouseDown(TImageView* Sender, Qt::MouseButton, QPoint)
{
    if (!Sender) return;
    if (SpeedButton11->isChecked()) {
        Sender->SetMouseInteract(miScroll);
    } else if (SpeedButton10->isChecked()) {
        Sender->SetMouseInteract(miSelect);
        Sender->SetCursor(crImageViewStandard);
        PopupMenu1AutoPopup = true;
    }
}

void TForm1::Unselect1_oldClick()
{
    if (TImageView* view = ActiveView()) view->DeSelect();
}

void TForm1::Copier1_oldClick()
{
    if (TImageView* view = ActiveView()) view->Proc().CopyToClipboard();
}

void TForm1::Copy1_oldClick()
{
    Copier1_oldClick();
}

void TForm1::Coller1_oldClick()
{
    // A picture with no bitmap form (a metafile only) is not pasted at all.
    const QImage picture = TImageProc::ClipboardHasPicture() ? QApplication::clipboard()->image() : QImage();
    if (picture.isNull()) return;
    NewDocument();
    FLastView->Proc().PasteFromClipboard();
    FLastView->Tag = Modified;
    LastImageWidth = picture.width();
    LastImageHeight = picture.height();
    SetStatusText(QStringLiteral("Image copiée / Longueur: ") + QString::number(picture.width()) + QStringLiteral(" pixels") +
                  QStringLiteral(" / Largeur: ") + QString::number(picture.height()) + QStringLiteral(" pixels"));
    ApplyCommandState(TCommandEvent::cePaste);
    ApplyTwoOrMoreRule();
}
