#include "tests/documents/form_fixture.h"

#include "platform/proc/image_proc.h"
#include "platform/view/image_view.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QMouseEvent>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <cmath>

namespace {

using TViewControlsTest = TFormTest;

TEST_F(TViewControlsTest, TypedZoomTextsFollowTheTrackBarRules)
{
    Open(MakeBmp("page.bmp", 50, 50));
    // Each edit runs the handler: typing 150 passes through 1 % and 15 %.
    const std::pair<const char*, double> steps[] = {{"1", 1.0},     {"15", 15.0},   {"150", 150.0}, {"", 10.0},
                                                    {"12.34", 12.3}, {"5000", 2000.0}, {"abc", 10.0},  {"0", 10.0}};
    for (auto [text, expected] : steps) {
        Form->zoom->setEditText(text);
        EXPECT_NEAR(View()->Zoom(), expected, 1e-9) << text;
    }
    EXPECT_EQ(Form->TrackBar1->value(), 0);
    EXPECT_FALSE(View()->AutoFit());
}

TEST_F(TViewControlsTest, FitTextRoundsTheFittedZoomDownToATenth)
{
    Open(MakeBmp("tall.bmp", 2000, 3000));
    Form->zoom->setEditText("50");
    Form->zoom->setEditText("Ajuster");
    View()->SetAutoFit(false);
    // What the window fits to, and the rule applied to it.
    TImageView probe;
    probe.setFrameShape(View()->frameShape());
    probe.resize(View()->size());
    probe.IEBitmap().Allocate(2000, 3000, ipf1Bit);
    probe.setHorizontalScrollBarPolicy(View()->horizontalScrollBarPolicy());
    probe.setVerticalScrollBarPolicy(View()->verticalScrollBarPolicy());
    probe.Fit();
    const int position = int(std::trunc(probe.Zoom() * 10));
    EXPECT_EQ(Form->TrackBar1->value(), position);
    EXPECT_NEAR(View()->Zoom(), position / 10.0, 1e-9);
    EXPECT_FALSE(View()->AutoFit());
}

TEST_F(TViewControlsTest, TrackBarWithoutDocumentDoesNothing)
{
    Form->TrackBar1->setValue(5000);
    EXPECT_EQ(Form->DocumentCount(), 0);
}

TEST_F(TViewControlsTest, RotateFlipMirrorAndTheirUndo)
{
    Open(MakeBmp("page.bmp", 100, 50));
    TIEBitmap& b = View()->IEBitmap();
    const auto topRight = PixelAt(b, 99, 0);
    Form->retour45Click();
    ASSERT_EQ(b.Width(), 50);
    ASSERT_EQ(b.Height(), 100);
    EXPECT_EQ(PixelAt(b, 0, 0), topRight);
    EXPECT_EQ(View()->Tag, 1);

    // Flip stores no copy: undo goes back past it to before the rotation.
    Form->vertClick();
    Form->Annuler1_oldClick();
    EXPECT_EQ(b.Width(), 100);
    EXPECT_EQ(PixelAt(b, 99, 0), topRight);
}

TEST_F(TViewControlsTest, MirrorOnAFreshImageCannotBeUndone)
{
    Open(MakeBmp("page.bmp", 10, 4));
    Form->horClick();
    const auto mirrored = PixelAt(View()->IEBitmap(), 0, 0);
    EXPECT_EQ(mirrored[0], 9);
    Form->Annuler1_oldClick();
    EXPECT_EQ(PixelAt(View()->IEBitmap(), 0, 0), mirrored);
    EXPECT_EQ(View()->Tag, 1);
}

TEST_F(TViewControlsTest, PressSetsTheModeOfThePressedView)
{
    Open(MakeBmp("a.bmp", 20, 20));
    TImageView* older = View();
    Open(MakeBmp("b.bmp", 20, 20));
    TImageView* newer = View();
    Form->PageControl2->setCurrentIndex(0);
    auto press = [](TImageView* view) {
        QMouseEvent down(QEvent::MouseButtonPress, QPointF(5, 5), view->viewport()->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &down);
        QMouseEvent up(QEvent::MouseButtonRelease, QPointF(5, 5), view->viewport()->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                       Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &up);
    };
    // "Choisir" is down at start: the first press switches a view to scrolling.
    press(older);
    EXPECT_EQ(older->MouseInteract(), miScroll);
    EXPECT_EQ(newer->MouseInteract(), miSelect);

    Form->SpeedButton10->click();
    EXPECT_EQ(older->MouseInteract(), miSelect);
    newer->SetMouseInteract(miScroll);
    Form->PopupMenu1AutoPopup = false;
    press(older);
    EXPECT_EQ(older->MouseInteract(), miSelect);
    EXPECT_EQ(newer->MouseInteract(), miScroll);
    EXPECT_EQ(older->Cursor(), crImageViewStandard);
    EXPECT_TRUE(Form->PopupMenu1AutoPopup);

    older->SetSelection(QRect(1, 1, 5, 5));
    Form->Unselect1_oldClick();
    EXPECT_FALSE(older->Selected());
}

TEST_F(TViewControlsTest, CopyAndPasteThroughTheClipboard)
{
    Open(MakeBmp("page.bmp", 64, 48));
    Form->Copier1_oldClick();
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(64, 48));
    Form->Coller1_oldClick();
    ASSERT_EQ(Form->DocumentCount(), 2);
    EXPECT_EQ(TabText(1), "Image 1");
    EXPECT_EQ(View()->Tag, 1);
    EXPECT_EQ(PixelAt(View()->IEBitmap(), 5, 6), (std::array<uint8_t, 3>{5, 6, 77}));
    EXPECT_TRUE(Enabled("CustomItem1"));

    View()->SetSelection(QRect(10, 10, 20, 5));
    Form->Copy1_oldClick();
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(20, 5));
}

TEST_F(TViewControlsTest, PasteIntoAnEmptyWindow)
{
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    QApplication::clipboard()->setImage(picture);
    Form->Coller1_oldClick();
    ASSERT_EQ(Form->DocumentCount(), 1);
    EXPECT_EQ(Form->StatusText(), "Image copiée / Longueur: 640 pixels / Largeur: 480 pixels");
    EXPECT_EQ(Form->LastImageWidth, 640);
    EXPECT_EQ(Form->LastImageHeight, 480);
    EXPECT_EQ(TabText(0), "Image 0");
    for (const char* off : {"retour45", "SpeedButton10", "SpeedButton9"}) EXPECT_FALSE(Enabled(off)) << off;
    for (const char* on : {"Copier1", "zoom", "hor"}) EXPECT_TRUE(Enabled(on)) << on;

    QApplication::clipboard()->clear();
    Form->Coller1_oldClick();
    EXPECT_EQ(Form->DocumentCount(), 1);
}

} // namespace
