#include "tests/harness/gui_test.h"

#include "app/logo.h"

#include <QApplication>
#include <QChildEvent>

namespace {
// Watches the main window being built and notes whether the splash was on screen then.
class TSplashWatch : public QObject {
public:
    int ChildrenAdded = 0;
    int WithSplashVisible = 0;
    bool TitleSetBeforeWindow = true;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ChildAdded && watched->objectName() == QLatin1String("Form1")) {
            ++ChildrenAdded;
            if (QApplication::applicationName() != QLatin1String("Numerak!")) TitleSetBeforeWindow = false;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (qobject_cast<Tlogo*>(w) && w->isVisible()) {
                    ++WithSplashVisible;
                    break;
                }
        }
        return false;
    }
};

bool SplashExists()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<Tlogo*>(w)) return true;
    return false;
}
}  // namespace

class StartupTest : public TGuiTest {};

TEST_F(StartupTest, SplashIsShownExactlyWhileTheMainWindowIsBuilt)
{
    QApplication::setApplicationName(QStringLiteral("other"));
    TSplashWatch watch;
    qApp->installEventFilter(&watch);
    auto form = CreateForm();
    qApp->removeEventFilter(&watch);

    ASSERT_GT(watch.ChildrenAdded, 0);
    EXPECT_EQ(watch.WithSplashVisible, watch.ChildrenAdded);
    EXPECT_TRUE(watch.TitleSetBeforeWindow);
    EXPECT_FALSE(SplashExists());
    EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Numerak!"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Numerak! 3.0"));
    EXPECT_EQ(form->PageControl1->currentIndex(), 0);
}

TEST_F(StartupTest, SplashRegionShowsOnlyTheLettering)
{
    Tlogo logo;
    EXPECT_EQ(logo.size(), QSize(232, 50));
    const QRegion region = logo.WindowRegion();
    ASSERT_FALSE(region.isEmpty());
    EXPECT_TRUE(QRect(0, 0, 232, 50).contains(region.boundingRect()));
    // Background between and around the letters is cut away.
    EXPECT_FALSE(region.contains(QPoint(0, 0)));
    EXPECT_FALSE(region.contains(QPoint(231, 49)));

    // Outlines nested in another one are the counters of letters: see-through.
    const auto& outlines = logo.Outlines();
    int holes = 0;
    for (std::size_t i = 0; i < outlines.size(); ++i) {
        for (std::size_t j = 0; j < outlines.size(); ++j) {
            if (i == j || !outlines[j].boundingRect().contains(outlines[i].boundingRect())) continue;
            ++holes;
            const QRect box = outlines[i].boundingRect().toRect();
            bool seeThrough = false;
            for (int y = box.top(); y <= box.bottom() && !seeThrough; ++y)
                for (int x = box.left(); x <= box.right() && !seeThrough; ++x)
                    seeThrough = outlines[i].containsPoint(QPointF(x + 0.5, y + 0.5), Qt::WindingFill) &&
                                 !region.contains(QPoint(x, y));
            EXPECT_TRUE(seeThrough) << "counter " << i << " is not cut out";
        }
    }
    EXPECT_GT(holes, 0) << "the lettering has letters with counters";
}
