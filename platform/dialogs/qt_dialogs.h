#pragma once
// The real dialogs, parented to the active window.

#include "platform/dialogs/dialogs.h"

class TQtDialogs : public TDialogs {
public:
    TModalResult MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons) override;
    void ShowError(const QString& text) override;
    std::optional<TFileDialogAnswer> OpenFile(const TFileDialogOptions& options) override;
    std::optional<TFileDialogAnswer> SaveFile(const TFileDialogOptions& options) override;
    QString SelectFolder(const QString& title) override;
    bool PrintDialog(QPrinter& printer) override;
    bool PrinterSetupDialog(QPrinter& printer) override;
};
