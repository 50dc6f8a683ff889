#include "tests/harness/gui_test.h"

#include "platform/controls/radio_group.h"
#include "platform/view/image_view.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTabWidget>

class DocumentTabsTest : public TGuiTest {
protected:
    std::unique_ptr<TForm1> FormWith(int documents)
    {
        auto form = CreateForm();
        for (int i = 0; i < documents; ++i) AddDocument(*form);
        return form;
    }
};

TEST_F(DocumentTabsTest, NewDocumentsAreNamedByPositionInTheLanguage)
{
    auto form = FormWith(3);
    EXPECT_EQ(TabCaptions(*form), QStringList({"Image 0", "Image 1", "Image 2"}));
    TImageView* last = TForm1Access::LastView(*form);
    EXPECT_EQ(form->ActiveView(), last);
    EXPECT_EQ(TForm1Access::LastSheet(*form), form->PageControl2->currentWidget());
    EXPECT_EQ(last->Tag, 0);
    EXPECT_EQ(form->ImageIO1.AttachedImage(), static_cast<TIEViewLink*>(last));
    EXPECT_TRUE(last->IEBitmap().Empty());

    // Names need not be unique: after closing Image 1 the next is Image 2 again.
    form->PageControl2->setCurrentIndex(1);
    Call(*form, &TForm1::fermerClick);
    form->langage->SetItemIndex(1);
    AddDocument(*form);
    EXPECT_EQ(TabCaptions(*form), QStringList({"Image 0", "Image 2", "Picture 2"}));
}

TEST_F(DocumentTabsTest, ClosingActivatesThePreviousTabOrTheLastAfterTheFirst)
{
    auto form = FormWith(3);
    form->PageControl2->setCurrentIndex(1);
    Call(*form, &TForm1::fermerClick);
    EXPECT_EQ(TabCaptions(*form), QStringList({"Image 0", "Image 2"}));
    EXPECT_EQ(form->PageControl2->currentIndex(), 0);

    AddDocument(*form);
    form->PageControl2->setCurrentIndex(0);
    Call(*form, &TForm1::fermerClick);
    EXPECT_EQ(TabCaptions(*form), QStringList({"Image 2", "Image 2"}));
    EXPECT_EQ(form->PageControl2->currentIndex(), 1);
}

TEST_F(DocumentTabsTest, CloseAsksAboutAModifiedDocumentInFrench)
{
    const struct {
        TModalResult Answer;
        int TabsLeft;
    } cases[] = {{TModalResult::mrCancel, 1}, {TModalResult::mrYes, 1}, {TModalResult::mrNo, 0}};
    for (const auto& c : cases) {
        auto form = CreateForm();
        form->langage->SetItemIndex(1);  // the close prompt is French in either language
        form->ApplyCommandState(TCommandEvent::ceOpen);
        AddDocument(*form, /*modified=*/true);
        Script().Answer(c.Answer);
        if (c.Answer == TModalResult::mrYes) Script().ChooseSave(QString());  // save as cancelled
        const std::size_t before = Script().Shown().size();
        Call(*form, &TForm1::fermerClick);
        ASSERT_GT(Script().Shown().size(), before);
        EXPECT_EQ(Script().Shown()[before].Text, QStringLiteral("Enregistrer Picture 0?"));
        EXPECT_EQ(Script().Shown()[before].Buttons, mbYes | mbNo | mbCancel);
        EXPECT_EQ(form->DocumentCount(), c.TabsLeft);
        // Only a tab actually closed switches the document commands off.
        EXPECT_EQ(form->Enregistrersous1->isEnabled(), c.TabsLeft == 1);
        EXPECT_EQ(form->fermer->isEnabled(), c.TabsLeft == 1);
    }
}

TEST_F(DocumentTabsTest, ClosingTheLastTabSwitchesTheCommandsOff)
{
    auto form = FormWith(2);
    form->ApplyCommandState(TCommandEvent::ceOpen);
    form->SetStatusText(QStringLiteral("TIFF"));
    EXPECT_TRUE(form->toutfermer->isEnabled());
    Call(*form, &TForm1::fermerClick);
    EXPECT_FALSE(form->toutfermer->isEnabled());
    EXPECT_FALSE(form->CustomItem1->isEnabled());
    EXPECT_TRUE(form->fermer->isEnabled());
    Call(*form, &TForm1::fermerClick);
    EXPECT_EQ(form->DocumentCount(), 0);
    EXPECT_FALSE(form->fermer->isEnabled());
    EXPECT_TRUE(form->StatusText().isEmpty());
    EXPECT_EQ(form->ImageIO1.AttachedImage(), nullptr);
    // Nothing to close: no prompt, nothing breaks.
    Call(*form, &TForm1::fermerClick);
}

TEST_F(DocumentTabsTest, CloseAllPromptsForModifiedDocumentsOnly)
{
    // Three documents, the second modified, the third active.
    auto form = CreateForm();
    AddDocument(*form);
    AddDocument(*form, /*modified=*/true);
    AddDocument(*form);
    form->ApplyCommandState(TCommandEvent::ceOpen);
    Script().Answer(TModalResult::mrNo);
    Call(*form, &TForm1::toutfermerClick);
    EXPECT_EQ(Script().ShownTexts(), QStringList({"Enregistrer Image 1?"}));
    EXPECT_EQ(form->DocumentCount(), 0);
    EXPECT_FALSE(form->CustomItem1->isEnabled());
    EXPECT_FALSE(form->Copier1->isEnabled());
}

TEST_F(DocumentTabsTest, CloseAllStopsAtCancelAndAYesUsesUpAPass)
{
    auto form = CreateForm();
    AddDocument(*form);
    AddDocument(*form, /*modified=*/true);
    AddDocument(*form, /*modified=*/true);
    Script().Answer(TModalResult::mrNo).Answer(TModalResult::mrCancel);
    Call(*form, &TForm1::toutfermerClick);
    EXPECT_EQ(TabCaptions(*form), QStringList({"Image 0", "Image 1"}));

    // Yes runs save as (cancelled here, so nothing is written) and keeps the tab for this
    // pass; the next pass asks again.
    Script().Answer(TModalResult::mrYes).ChooseSave(QString()).Answer(TModalResult::mrNo);
    Call(*form, &TForm1::toutfermerClick);
    EXPECT_EQ(TabCaptions(*form), QStringList({"Image 0"}));
    EXPECT_EQ(form->PageControl2->currentIndex(), 0);
}

TEST_F(DocumentTabsTest, ExitAsksInTheLanguageThenAboutTheClipboard)
{
    auto form = CreateForm();
    AddDocument(*form, /*modified=*/true);
    AddDocument(*form);
    form->langage->SetItemIndex(1);
    form->PageControl2->setCurrentIndex(0);
    QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
    Script().Answer(TModalResult::mrNo).Answer(TModalResult::mrYes);
    EXPECT_TRUE(RequestClose(*form));
    EXPECT_EQ(Script().ShownTexts(),
              QStringList({"Save Image 0?", "The clipboard contains an image. Remove image from Clipboard?"}));
    EXPECT_EQ(Script().Shown().back().Buttons, mbYes | mbNo);
    EXPECT_EQ(form->DocumentCount(), 0);
    const QMimeData* left = QGuiApplication::clipboard()->mimeData();
    EXPECT_FALSE(left && left->hasImage());
}

TEST_F(DocumentTabsTest, ExitWithoutDocumentsStillOffersToEmptyTheClipboard)
{
    auto form = CreateForm();
    QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
    Script().Answer(TModalResult::mrNo);
    EXPECT_TRUE(RequestClose(*form));
    EXPECT_EQ(Script().ShownTexts(),
              QStringList({"Le presse-papier contient une image. Supprimer l'image du presse-papier?"}));
    const QMimeData* kept = QGuiApplication::clipboard()->mimeData();
    EXPECT_TRUE(kept && kept->hasImage());
}

TEST_F(DocumentTabsTest, ExitCancelKeepsTheWindowAndTheTabsNotYetClosed)
{
    auto form = CreateForm();
    AddDocument(*form, /*modified=*/true);
    AddDocument(*form);
    Script().Answer(TModalResult::mrCancel);
    EXPECT_FALSE(RequestClose(*form));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(TabCaptions(*form), QStringList({"Image 0"}));
    EXPECT_EQ(Script().ShownTexts(), QStringList({"Enregistrer Image 0?"}));
}

TEST_F(DocumentTabsTest, ExitKeepsADocumentWhoseSaveWroteNothing)
{
    auto form = CreateForm();
    AddDocument(*form);
    AddDocument(*form, /*modified=*/true);
    Script().Answer(TModalResult::mrYes).ChooseSave(QString());  // the save as is cancelled
    EXPECT_FALSE(RequestClose(*form));
    EXPECT_EQ(TabCaptions(*form), QStringList({"Image 0", "Image 1"}));
    EXPECT_EQ(form->ActiveView()->Tag, 1);
}
