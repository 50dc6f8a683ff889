#include "tests/documents/form_fixture.h"

#include "platform/proc/previews_dialog.h"
#include "platform/view/image_view.h"

#include <QTabWidget>

namespace {

using TAdjustmentsTest = TFormTest;

// Every one-step operation marks the document modified and can be taken back once.
TEST_F(TAdjustmentsTest, OneStepOperationsMarkModifiedAndUndo)
{
    const std::pair<const char*, void (TForm1::*)()> operations[] = {
        {"negative", &TForm1::Ngatif1_oldClick},
        {"grey", &TForm1::EchelledeGris1_oldClick},
        {"black and white", &TForm1::NoirBlanc1_oldClick},
        {"true colour", &TForm1::Couluersvraies1_oldClick},
    };
    for (auto [name, operation] : operations) {
        SCOPED_TRACE(name);
        Open(MakeBmp("page.bmp", 16, 16));
        TIEBitmap& b = View()->IEBitmap();
        const auto before = PixelAt(b, 3, 4);
        (Form.get()->*operation)();
        EXPECT_EQ(View()->Tag, 1);
        Form->Annuler1_oldClick();
        Form->Annuler1_oldClick();  // the copy is not consumed
        EXPECT_EQ(b.PixelFormat(), ipf24RGB);
        EXPECT_EQ(PixelAt(b, 3, 4), before);
    }
}

TEST_F(TAdjustmentsTest, OnlyTheLastChangeIsKept)
{
    Open(MakeBmp("page.bmp", 8, 8));
    Form->Ngatif1_oldClick();
    const auto negative = PixelAt(View()->IEBitmap(), 2, 2);
    Form->EchelledeGris1_oldClick();
    Form->Annuler1_oldClick();
    EXPECT_EQ(PixelAt(View()->IEBitmap(), 2, 2), negative);
}

TEST_F(TAdjustmentsTest, DialogsMarkModifiedWhetherConfirmedOrNot)
{
    Open(MakeBmp("page.bmp", 8, 8));
    const auto start = PixelAt(View()->IEBitmap(), 1, 1);
    WhenModal<TPreviewsDialog>([](TPreviewsDialog& d) {
        EXPECT_EQ(d.PageTitles().first(), "User filter");
        d.reject();
    });
    Form->Effets1_oldClick();
    EXPECT_EQ(View()->Tag, 1);
    EXPECT_EQ(PixelAt(View()->IEBitmap(), 1, 1), start);

    View()->Tag = 0;
    WhenModal<TPreviewsDialog>([](TPreviewsDialog& d) {
        EXPECT_EQ(d.PageTitles().first(), "Contrast");
        d.Pages()->setCurrentIndex(3);  // RGB
        d.SetValue(3, 0, 100);
        d.accept();
    });
    Form->AjustagedesCouleurs1_oldClick();
    EXPECT_EQ(View()->Tag, 1);
    EXPECT_EQ(PixelAt(View()->IEBitmap(), 1, 1)[2], 177);
    Form->Annuler1_oldClick();
    EXPECT_EQ(PixelAt(View()->IEBitmap(), 1, 1), start);
}

TEST_F(TAdjustmentsTest, ClearKeepsTheSizeAndSwitchesTheCommandsOff)
{
    Open(MakeBmp("page.bmp", 30, 20));
    Form->Effacerlimage1_oldClick();
    TIEBitmap& b = View()->IEBitmap();
    EXPECT_EQ(b.Width(), 30);
    EXPECT_EQ(b.Height(), 20);
    EXPECT_EQ(PixelAt(b, 29, 19), (std::array<uint8_t, 3>{255, 255, 255}));
    EXPECT_EQ(View()->Tag, 0);
    EXPECT_EQ(Form->StatusText(), "");
    EXPECT_EQ(Form->DocumentCount(), 1);
    for (const char* off : {"fermer", "Annuler1", "Copier1", "zoom"}) EXPECT_FALSE(Enabled(off)) << off;
    // After another image switches the commands on, undo brings the cleared one back.
    Open(MakeBmp("other.bmp", 5, 5));
    Form->PageControl2->setCurrentIndex(0);
    Form->Annuler1_oldClick();
    EXPECT_EQ(PixelAt(View()->IEBitmap(), 29, 19)[0], 29);
}

} // namespace
