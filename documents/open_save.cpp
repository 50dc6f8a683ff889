// Opening and saving images.

#include "app/main_form.h"

#include "documents/document_messages.h"
#include "documents/image_file_dialogs.h"
#include "formats/imageio/image_io.h"
#include "platform/controls/radio_group.h"
#include "platform/proc/io_previews_dialog.h"
#include "platform/view/image_view.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QSlider>
#include <QTabWidget>

namespace {

constexpr int Modified = 1;
const QString CaptionPrefix = QStringLiteral("Numerak! 3.0 : ");

// Save dialog file type (1-based) preselected by each item of the default-format group.
constexpr int DefaultFormatFilterIndex[] = {2, 5, 1, 4, 12};

bool IsEnglish(const TRadioGroup* langage)
{
    return langage->ItemIndex() == 1;
}

QString SizeText(int width, int height)
{
    return QStringLiteral(" / Longueur: ") + QString::number(width) + QStringLiteral(" pixels") + QStringLiteral(" / Largeur: ") +
           QString::number(height) + QStringLiteral(" pixels");
}

// Hides the progress bar however save all ends.
struct TProgressBarReset {
    QProgressBar* Bar;
    ~TProgressBarReset()
    {
        Bar->setValue(0);
        Bar->setVisible(false);
    }
};

} // namespace

void TForm1::Ouvrir1_oldClick()
{
    OpenImageDialog1.Filter = OpenImageFilter();
    const std::optional<TFileDialogAnswer> answer = OpenImageFile(OpenImageDialog1);
    if (!answer) return;
    const QString path = answer->FileName;
    const bool english = IsEnglish(langage);

    NewDocument();
    TImageView* view = FLastView;
    TImageIO& io = view->IO();
    try {
        io.LoadFromFile(path.toStdString());
    } catch (...) {
        // Nothing was read: the empty tab goes again and the error box says why.
        CloseActiveTab();
        ApplyTwoOrMoreRule();
        throw;
    }
    if (io.Aborting && io.IEBitmap()->Empty()) {
        CloseActiveTab();
        ApplyTwoOrMoreRule();
        Dialogs().MessageDlg(LoadFailedMessage(path, LoadFailureReason(path, english), english), TMsgDlgType::mtError, mbOK);
        return;
    }

    setWindowTitle(CaptionPrefix + path);
    PageControl2->setTabText(PageControl2->currentIndex(), QFileInfo(path).fileName());
    // The command column puts the track bar at 0 before the view fits, so fitting stays on.
    ApplyCommandState(TCommandEvent::ceOpen);
    view->SetAutoFit(true);
    LastImageWidth = io.Params.Width;
    LastImageHeight = io.Params.Height;
    SetStatusText(QString::fromStdString(GetFormatDescription(io.Params)) + QStringLiteral(" / ") + QString::number(io.Params.DpiX) +
                  QStringLiteral(" dpi") + SizeText(io.Params.Width, io.Params.Height));
    ApplyTwoOrMoreRule();
    if (io.Aborting) Dialogs().MessageDlg(LoadIncompleteMessage(path, english), TMsgDlgType::mtWarning, mbOK);
}

void TForm1::Enregistrersous1_oldClick()
{
    TImageView* view = ActiveView();
    if (!view) return;
    const bool english = IsEnglish(langage);
    const QString question = english ? QStringLiteral("File exist. Replace?") : QStringLiteral("Le fichier existe déjà. Le remplacer?");

    SaveImageDialog1.Filter = SaveImageFilter();
    SaveImageDialog1.FileName = PageControl2->tabText(PageControl2->currentIndex());
    if (const std::optional<TFileDialogAnswer> answer = SaveImageFile(SaveImageDialog1)) {
        const QString path = answer->FileName;
        if (QFileInfo::exists(path) &&
            Dialogs().MessageDlg(question, TMsgDlgType::mtConfirmation, mbYes | mbNo) != TModalResult::mrYes)
            return;
        TImageIO& io = view->IO();
        io.SaveToFile(path.toStdString());
        if (io.Aborting) {
            // Nothing was written: the changes are still unsaved.
            Dialogs().MessageDlg(SaveFailedMessage(path, english), TMsgDlgType::mtError, mbOK);
            return;
        }
        view->Tag = 0;
    }
    ApplyCommandState(TCommandEvent::ceSaveAs);
}

void TForm1::CustomItem1Click()
{
    TImageView* view = ActiveView();
    if (!view) return;
    ProgressBar1->setVisible(true);
    const TProgressBarReset reset{ProgressBar1};
    ImageIO1.SetAttachedImage(view);

    FSaveAllName = QStringLiteral("Image %1").arg(PageControl2->currentIndex()) + QStringLiteral(".bmp");
    // The folder keeps its case: on this system another case names another folder.
    FSaveAllPath = QDir(QCoreApplication::applicationDirPath()).filePath(FSaveAllName);

    if (!DoPreviews(ImageIO1, ioppBMP, this)) {
        view->Tag = Modified;
        return;
    }
    ImageIO1.SaveToFile(FSaveAllPath.toStdString());
    if (ImageIO1.Aborting) {
        view->Tag = Modified;
        Dialogs().MessageDlg(SaveFailedMessage(FSaveAllPath, IsEnglish(langage)), TMsgDlgType::mtError, mbOK);
        return;
    }
    PageControl2->setTabText(PageControl2->currentIndex(), FSaveAllPath);
    SetStatusText(QLatin1Char(' ') + FSaveAllName + QLatin1Char(' '));
    view->Tag = 0;
}

void TForm1::formatsClick()
{
    const int index = formats->ItemIndex();
    if (index >= 0 && index < int(std::size(DefaultFormatFilterIndex))) SaveImageDialog1.FilterIndex = DefaultFormatFilterIndex[index];
}
