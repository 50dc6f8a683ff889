#include "platform/shell/shell_open.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {

TShellRecorder* ActiveRecorder = nullptr;

}  // namespace

TShellRecorder::TShellRecorder() : FPrevious(ActiveRecorder) { ActiveRecorder = this; }

TShellRecorder::~TShellRecorder() { ActiveRecorder = FPrevious; }

bool ShellOpen(const QString& fileOrAddress) {
    if (ActiveRecorder) {
        ActiveRecorder->FRequests.append(fileOrAddress);
        return true;
    }
    const QUrl address(fileOrAddress, QUrl::StrictMode);
    const bool hasScheme = address.isValid() && address.scheme().size() > 1;  // "C:" is no scheme
    const QUrl url = hasScheme ? address : QUrl::fromLocalFile(QFileInfo(fileOrAddress).absoluteFilePath());
    return QDesktopServices::openUrl(url);
}
