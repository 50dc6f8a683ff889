// Image adjustments: the two preview dialogs, the one-step conversions, clear and undo.

#include "app/main_form.h"

#include "platform/proc/image_proc.h"
#include "platform/view/image_view.h"

namespace {

constexpr int Modified = 1;
constexpr int AdjustmentPages = 4190;  // Contrast, HSV, HSL, RGB, Equalization, FFT
constexpr int EffectPages = 4000;      // User filter, Bump map, Lens, Wave, Morph filters, Rotate

} // namespace

void TForm1::Annuler1_oldClick()
{
    if (TImageView* view = ActiveView()) view->Proc().Undo();
}

void TForm1::AjustagedesCouleurs1_oldClick()
{
    TImageView* view = ActiveView();
    if (!view) return;
    view->Proc().DoPreviews(AdjustmentPages);
    view->Tag = Modified;
}

void TForm1::Effets1_oldClick()
{
    TImageView* view = ActiveView();
    if (!view) return;
    view->Proc().DoPreviews(EffectPages);
    view->Tag = Modified;
}

void TForm1::Ngatif1_oldClick()
{
    TImageView* view = ActiveView();
    if (!view) return;
    view->Proc().Negative();
    view->Tag = Modified;
}

void TForm1::EchelledeGris1_oldClick()
{
    TImageView* view = ActiveView();
    if (!view) return;
    view->Proc().ConvertToGray();
    view->Tag = Modified;
}

void TForm1::NoirBlanc1_oldClick()
{
    TImageView* view = ActiveView();
    if (!view) return;
    view->Proc().ConvertToBWOrdered();
    view->Tag = Modified;
}

void TForm1::Couluersvraies1_oldClick()
{
    TImageView* view = ActiveView();
    if (!view) return;
    view->Proc().ConvertTo24Bit();
    view->Tag = Modified;
}

void TForm1::Effacerlimage1_oldClick()
{
    TImageView* view = ActiveView();
    if (!view) return;
    view->Proc().Clear();
    SetStatusText(QString());
    ApplyCommandState(TCommandEvent::ceClearImage);
}
