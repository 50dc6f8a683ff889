#include "tests/harness/gui_test.h"

#include "app/application.h"
#include "app/startup.h"
#include "platform/errors/errors.h"
#include "platform/view/image_view.h"

#include <QClipboard>
#include <QTabWidget>

namespace {
TApplication& Application()
{
    static int argc = 1;
    static char name[] = "numerak-test";
    static char* argv[] = {name, nullptr};
    static TApplication* application = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        return new TApplication(argc, argv);
    }();
    return *application;
}
}  // namespace

void TGuiTest::SetUp()
{
    Application();
    ASSERT_TRUE(FRegistry.isValid());
    qputenv("NUMERAK_REGISTRY_DIR", FRegistry.path().toLocal8Bit());
    auto script = std::make_unique<TScriptedDialogs>();
    script->OnUnexpected = [](const QString& description) { ADD_FAILURE() << description.toStdString(); };
    FScript = script.get();
    SetDialogs(std::move(script));
    QGuiApplication::clipboard()->clear();
}

void TGuiTest::TearDown()
{
    EXPECT_EQ(FScript->Pending(), 0u) << "scripted answers left unused";
    SetDialogs(nullptr);
    FScript = nullptr;
    QGuiApplication::clipboard()->clear();
    qunsetenv("NUMERAK_REGISTRY_DIR");
}

std::unique_ptr<TForm1> TGuiTest::CreateForm()
{
    return StartUp();
}

void Call(TForm1& form, void (TForm1::*handler)())
{
    Guarded([&] { (form.*handler)(); });
}

bool RequestClose(TForm1& form)
{
    form.show();
    return form.close();
}

QStringList TabCaptions(const TForm1& form)
{
    QStringList captions;
    for (int i = 0; i < form.PageControl2->count(); ++i) captions << form.PageControl2->tabText(i);
    return captions;
}

TImageView* AddDocument(TForm1& form, bool modified)
{
    TForm1Access::NewDocument(form);
    TImageView* view = TForm1Access::LastView(form);
    view->Tag = modified ? 1 : 0;
    return view;
}
