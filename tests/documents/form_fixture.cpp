#include "tests/documents/form_fixture.h"

#include "formats/imageio/image_io.h"
#include "platform/view/image_view.h"

#include <QApplication>
#include <QTabWidget>
#include <QTimer>

void TFormTest::SetUp()
{
    TGuiTest::SetUp();
    ASSERT_TRUE(FWork.isValid());
    QLocale::setDefault(QLocale::c());
    Script = &TGuiTest::Script();
    Form = CreateForm();
    Form->show();
}

void TFormTest::TearDown()
{
    Form.reset();
    TGuiTest::TearDown();
}

QString TFormTest::WorkPath(const QString& name) const
{
    return FWork.filePath(name);
}

QString TFormTest::MakeBmp(const QString& name, int w, int h)
{
    TImageIO io;
    TIEBitmap& b = *io.IEBitmap();
    b.Allocate(w, h, ipf24RGB);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = b.ScanLine(y) + 3 * x;
            p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = 77;
        }
    const QString path = WorkPath(name);
    io.SaveToFile(path.toStdString());
    EXPECT_FALSE(io.Aborting) << path.toStdString();
    return path;
}

void TFormTest::Open(const QString& path)
{
    Script->ChooseOpen(path);
    Form->Ouvrir1_oldClick();
}

TImageView* TFormTest::View() const
{
    return Form->ActiveView();
}

QString TFormTest::TabText(int index) const
{
    return Form->PageControl2->tabText(index);
}

bool TFormTest::Enabled(const char* objectName) const
{
    if (auto* action = Form->findChild<QAction*>(objectName)) return action->isEnabled();
    if (auto* widget = Form->findChild<QWidget*>(objectName)) return widget->isEnabled();
    ADD_FAILURE() << "no control " << objectName;
    return false;
}

void WhenModalWidget(std::function<bool(QWidget*)> act)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && act(modal)) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(5);
}

std::array<uint8_t, 3> PixelAt(const TIEBitmap& bitmap, int x, int y)
{
    const uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    return {p[0], p[1], p[2]};
}
