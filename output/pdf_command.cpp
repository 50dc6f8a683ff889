// The one-page PDF command: the active image stretched over a portrait page, written where the
// user chooses and, when "Voir le fichier Pdf après création" is checked, opened with the
// desktop's PDF viewer.

#include "app/main_form.h"
#include "output/pdf/image_pdf_page.h"
#include "platform/proc/image_proc.h"
#include "platform/shell/shell_open.h"
#include "platform/view/image_view.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int ImageAreaWidth = 534;  // the page's image area is 534 × 734

// Restores the save dialog and the status text however the command ends, and frees the copy
// of the picture.
class TPdfCommandScope {
public:
    TPdfCommandScope(TFileDialogOptions& dialog, TForm1& form, TPRImage& image)
        : FDialog(dialog), FForm(form), FImage(image) {}
    ~TPdfCommandScope() {
        FForm.SetStatusText(QString());
        FDialog.DefaultExt.clear();
        FImage.ClearPicture();
    }

private:
    TFileDialogOptions& FDialog;
    TForm1& FForm;
    TPRImage& FImage;
};

}  // namespace

void TForm1::pdfClick()
{
    TImageView* view = ActiveView();
    if (!view) return;

    if (LastImageHeight > ImageAreaWidth && LastImageWidth > LastImageHeight &&
        Dialogs().MessageDlg(QStringLiteral("L'image est plus large que haute: elle sera déformée. "
                                            "Voulez vous la pivoter de 90°?"),
                             TMsgDlgType::mtConfirmation, mbYes | mbNo) == TModalResult::mrYes)
        view->Proc().Rotate(90, /*antialias=*/true, ierFast, view->Proc().Background);  // not a modification

    TPRImage& image = PdfPage.PRImage1;
    TPdfCommandScope scope(SaveDialog1, *this, image);
    image.SetPicture(view->IEBitmap());
    SaveDialog1.DefaultExt = QStringLiteral("pdf");
    SaveDialog1.FileName = QFileInfo(OpenPictureDialog1.FileName).completeBaseName() + QStringLiteral(".pdf");
    const std::optional<TFileDialogAnswer> answer = Dialogs().SaveFile(SaveDialog1);
    if (!answer) return;

    PdfPage.PReport1.FileName = QFile::encodeName(answer->FileName).toStdString();
    SetStatusText(QStringLiteral("Création du fichier Pdf en cours..."));
    QCoreApplication::processEvents();
    PdfPage.WriteReport();
    SetStatusText(QString());
    if (acrobate->isChecked()) ShellOpen(answer->FileName);
}
