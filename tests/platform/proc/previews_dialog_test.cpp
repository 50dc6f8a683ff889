#include "platform/proc/image_proc.h"
#include "platform/proc/previews_dialog.h"
#include "platform/view/image_view.h"

#include <QApplication>
#include <QTabWidget>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs act on the preview dialog as soon as it is shown modally.
void WhenDialogShows(std::function<void(TPreviewsDialog&)> act)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto* dialog = qobject_cast<TPreviewsDialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(*dialog);
        }
    });
    poll->start(5);
}

TEST(PreviewsDialog, MasksChooseThePagesInOrder)
{
    const QImage image(8, 8, QImage::Format_RGB32);
    const std::vector<std::pair<int, QStringList>> cases = {
        {4190, {"Contrast", "HSV", "HSL", "RGB", "Equalization", "FFT"}},
        {4000, {"User filter", "Bump map", "Lens", "Wave", "Morph filters", "Rotate"}},
        {8190, {"Contrast", "HSV", "HSL", "RGB", "User filter", "Equalization", "Bump map", "Lens", "Wave", "Morph filters",
                "Rotate", "FFT"}},
    };
    for (const auto& [mask, titles] : cases) {
        TPreviewsDialog dialog(image, mask, false);
        EXPECT_EQ(dialog.PageTitles(), titles) << mask;
    }
}

TEST(PreviewsDialog, PreviewFollowsTheControls)
{
    QImage image(300, 150, QImage::Format_RGB32);
    image.fill(qRgb(100, 100, 100));
    TPreviewsDialog dialog(image, 4190, false);
    EXPECT_LE(dialog.PreviewResult().width(), 220);
    EXPECT_EQ(dialog.PreviewResult().pixel(0, 0), qRgb(100, 100, 100));
    dialog.Pages()->setCurrentIndex(3);  // RGB
    dialog.SetValue(3, 0, 50);
    QApplication::processEvents();
    EXPECT_EQ(dialog.PreviewResult().pixel(0, 0), qRgb(150, 100, 100));
    EXPECT_EQ(dialog.ApplyTo(image).pixel(299, 149), qRgb(150, 100, 100));
}

struct TDocument {
    TImageView view;
    TDocument()
    {
        TIEBitmap& b = view.IEBitmap();
        b.Allocate(20, 10, ipf24RGB);
        b.Fill(100);
        view.Update();
    }
    TRGB At(int x, int y) { return TRGB{view.IEBitmap().ScanLine(y)[3 * x], view.IEBitmap().ScanLine(y)[3 * x + 1], view.IEBitmap().ScanLine(y)[3 * x + 2]}; }
};

TEST(PreviewsDialog, CancelChangesNothingAndStoresNoUndo)
{
    TDocument doc;
    WhenDialogShows([](TPreviewsDialog& d) {
        d.SetValue(0, 1, 80);
        d.reject();
    });
    EXPECT_FALSE(doc.view.Proc().DoPreviews(4000));
    EXPECT_EQ(doc.At(0, 0), CreateRGB(100, 100, 100));
    EXPECT_FALSE(doc.view.Proc().CanUndo());
}

TEST(PreviewsDialog, ConfirmAppliesTheCurrentPageToTheSelectionOnly)
{
    TDocument doc;
    doc.view.SetSelection(QRect(5, 2, 4, 3));
    WhenDialogShows([](TPreviewsDialog& d) {
        d.Pages()->setCurrentIndex(3);  // RGB
        d.SetValue(3, 2, -100);
        d.accept();
    });
    EXPECT_TRUE(doc.view.Proc().DoPreviews(4190));
    EXPECT_EQ(doc.At(5, 2), CreateRGB(100, 100, 0));
    EXPECT_EQ(doc.At(8, 4), CreateRGB(100, 100, 0));
    EXPECT_EQ(doc.At(4, 2), CreateRGB(100, 100, 100));
    EXPECT_EQ(doc.At(9, 4), CreateRGB(100, 100, 100));
    doc.view.Proc().Undo();
    EXPECT_EQ(doc.At(5, 2), CreateRGB(100, 100, 100));
}

TEST(PreviewsDialog, RotatePageResizesTheWholeImage)
{
    TDocument doc;
    WhenDialogShows([](TPreviewsDialog& d) {
        d.Pages()->setCurrentIndex(5);  // Rotate
        d.SetValue(5, 0, 90);
        d.accept();
    });
    EXPECT_TRUE(doc.view.Proc().DoPreviews(4000));
    EXPECT_EQ(doc.view.IEBitmap().Width(), 10);
    EXPECT_EQ(doc.view.IEBitmap().Height(), 20);
}

} // namespace
