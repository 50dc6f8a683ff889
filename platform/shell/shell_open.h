#pragma once
// Opens a file or an address with the desktop's default application (xdg-open through
// QDesktopServices). Nothing waits for the application and a failure is not reported to the
// user: callers that ignore the result are silent, as the commands want.

#include <QString>
#include <QStringList>

// True when the desktop accepted the request. A local path is opened as a file; anything with a
// scheme ("http://...") as an address.
bool ShellOpen(const QString& fileOrAddress);

// Test double: while one exists, ShellOpen records each request (and reports success) instead
// of starting an application. Recorders nest; the newest one records.
class TShellRecorder {
public:
    TShellRecorder();
    ~TShellRecorder();
    TShellRecorder(const TShellRecorder&) = delete;
    TShellRecorder& operator=(const TShellRecorder&) = delete;

    const QStringList& Requests() const { return FRequests; }

private:
    friend bool ShellOpen(const QString&);
    QStringList FRequests;
    TShellRecorder* FPrevious;
};
