// Document tabs: creating one, closing one, closing all, and the exit query.

#include "app/main_form.h"

#include "platform/controls/radio_group.h"
#include "platform/dialogs/dialogs.h"
#include "platform/errors/errors.h"
#include "platform/view/image_view.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QProgressBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
constexpr int DocumentTabImage = 12;
constexpr int Modified = 1;

bool IsEnglish(const TRadioGroup* langage)
{
    return langage->ItemIndex() == 1;
}
}  // namespace

int TForm1::DocumentCount() const
{
    return PageControl2->count();
}

TImageView* TForm1::ViewOfSheet(QWidget* sheet)
{
    return sheet ? sheet->findChild<TImageView*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

TImageView* TForm1::ActiveView() const
{
    return ViewOfSheet(PageControl2->currentWidget());
}

void TForm1::NewDocument()
{
    auto* sheet = new QWidget;
    const int position = PageControl2->count();
    PageControl2->addTab(sheet, ImageList1.Icon(DocumentTabImage), QString());
    PageControl2->setCurrentWidget(sheet);
    FLastSheet = sheet;

    auto* view = new TImageView(sheet);
    FLastView = view;
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    view->setVisible(true);
    view->setToolTip(QStringLiteral(" "));
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view->Tag = 0;

    ImageIO1.SetAttachedImage(view);
    ImageIO1.OnProgress = [this](void* sender, int percent) { ImageViewProgress(sender, percent); };
    view->OnMouseDown = [this](TImageView* sender, Qt::MouseButton button, QPoint position) {
        ImageViewMouseDown(sender, button, position);
    };

    PageControl2->setTabText(position, (IsEnglish(langage) ? QStringLiteral("Picture %1") : QStringLiteral("Image %1"))
                                           .arg(position));
}

void TForm1::ImageViewProgress(void*, int per)
{
    ProgressBar1->setValue(per);
}

void TForm1::CloseActiveTab()
{
    const int index = PageControl2->currentIndex();
    if (index < 0) return;
    QWidget* sheet = PageControl2->widget(index);
    TImageView* view = ViewOfSheet(sheet);
    // ImageIO1 must not keep drawing into a view that is gone.
    if (view && ImageIO1.AttachedImage() == view) ImageIO1.SetAttachedImage(nullptr);
    if (view == FLastView) FLastView = nullptr;
    if (sheet == FLastSheet) FLastSheet = nullptr;
    PageControl2->removeTab(index);
    delete sheet;
    if (PageControl2->count() > 0)
        PageControl2->setCurrentIndex(index > 0 ? index - 1 : PageControl2->count() - 1);
}

QString TForm1::DocumentPrompt(const QString& caption, bool english) const
{
    return (english ? QStringLiteral("Save ") : QStringLiteral("Enregistrer ")) + caption + QLatin1Char('?');
}

void TForm1::fermerClick()
{
    if (DocumentCount() > 0) {
        TImageView* view = ActiveView();
        bool closed = true;
        if (view && view->Tag == Modified) {
            const QString caption = PageControl2->tabText(PageControl2->currentIndex());
            switch (Dialogs().MessageDlg(DocumentPrompt(caption, false), TMsgDlgType::mtConfirmation,
                                         mbYes | mbNo | mbCancel)) {
            case TModalResult::mrYes:
                Enregistrersous1_oldClick();
                closed = false;
                break;
            case TModalResult::mrNo: CloseActiveTab(); break;
            default: Abort();
            }
        } else {
            CloseActiveTab();
        }
        if (closed && DocumentCount() == 0) ApplyCommandState(TCommandEvent::ceLastTabClosed);
    }
    ApplyTwoOrMoreRule();
}

void TForm1::toutfermerClick()
{
    const int passes = DocumentCount();
    for (int pass = 0; pass < passes && DocumentCount() > 0; ++pass) {
        TImageView* view = ActiveView();
        if (!view || view->Tag != Modified) {
            CloseActiveTab();
            continue;
        }
        const QString caption = PageControl2->tabText(PageControl2->currentIndex());
        switch (Dialogs().MessageDlg(DocumentPrompt(caption, false), TMsgDlgType::mtConfirmation,
                                     mbYes | mbNo | mbCancel)) {
        case TModalResult::mrYes: Enregistrersous1_oldClick(); break;
        case TModalResult::mrNo: CloseActiveTab(); break;
        default: Abort();
        }
    }
    if (DocumentCount() == 0) ApplyCommandState(TCommandEvent::ceCloseAllNone);
}

void TForm1::FormCloseQuery(bool& CanClose)
{
    Sauvegarder();
    const bool english = IsEnglish(langage);
    const int passes = DocumentCount();
    for (int pass = 0; pass < passes && DocumentCount() > 0; ++pass) {
        TImageView* view = ActiveView();
        if (view && view->Tag == Modified) {
            const QString caption = PageControl2->tabText(PageControl2->currentIndex());
            const TModalResult answer = Dialogs().MessageDlg(DocumentPrompt(caption, english),
                                                             TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel);
            if (answer != TModalResult::mrYes && answer != TModalResult::mrNo) {
                CanClose = false;
                return;
            }
            if (answer == TModalResult::mrYes) {
                Enregistrersous1_oldClick();
                // A save as that wrote nothing leaves the document modified: keep it and the
                // program, rather than lose the changes.
                if (view->Tag == Modified) {
                    CanClose = false;
                    return;
                }
            }
        }
        CloseActiveTab();
    }

    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard->mimeData();
    if (data && data->hasImage()) {
        const QString question =
            english ? QStringLiteral("The clipboard contains an image. Remove image from Clipboard?")
                    : QStringLiteral("Le presse-papier contient une image. Supprimer l'image du presse-papier?");
        if (Dialogs().MessageDlg(question, TMsgDlgType::mtConfirmation, mbYes | mbNo) == TModalResult::mrYes)
            clipboard->clear();
    }
}
