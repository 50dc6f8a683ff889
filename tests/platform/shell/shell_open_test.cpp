#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include "platform/shell/shell_open.h"

TEST(ShellOpen, RecorderTakesRequestsWhileItLives) {
    TShellRecorder outer;
    {
        TShellRecorder inner;
        EXPECT_TRUE(ShellOpen("/tmp/a.pdf"));
        EXPECT_EQ(inner.Requests(), QStringList{"/tmp/a.pdf"});
    }
    EXPECT_TRUE(ShellOpen("http://example.invalid/"));
    EXPECT_EQ(outer.Requests(), QStringList{"http://example.invalid/"});
}

// Without a recorder the request goes to xdg-open; a file type nobody handles is refused or
// handed on, but never blocks the caller.
TEST(ShellOpen, RealDesktopRequestReturns) {
    int argc = 1;
    char name[] = "shell_open_tests";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.numerak-test");
    QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");  // no xdg-open: nothing may start on the test machine
    EXPECT_FALSE(ShellOpen(missing));
    qputenv("PATH", path);
}
