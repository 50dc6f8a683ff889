#pragma once
// TScriptedDialogs: the test double of the dialogs. Each dialog takes the next queued answer,
// which must be for its kind; a dialog with no matching answer is reported through
// OnUnexpected with its text and answered as cancelled. Every dialog shown is recorded.

#include "platform/dialogs/dialogs.h"

#include <QStringList>

#include <deque>
#include <functional>

enum class TDialogKind { dkMessage, dkError, dkOpen, dkSave, dkFolder, dkPrint, dkPrinterSetup };

struct TScriptedAnswer {
    TDialogKind Kind = TDialogKind::dkMessage;
    TModalResult Result = TModalResult::mrCancel;  // messages; print dialogs: mrOk confirms
    QString Text;                                  // file or folder chosen; empty cancels
    int FilterIndex = 1;
};

struct TShownDialog {
    TDialogKind Kind;
    QString Text;  // message text, or the dialog's title
    TMsgDlgButtons Buttons;
    TFileDialogOptions Options;
};

class TScriptedDialogs : public TDialogs {
public:
    TScriptedDialogs& Answer(TModalResult result);
    TScriptedDialogs& AcceptError();
    TScriptedDialogs& ChooseOpen(const QString& fileName, int filterIndex = 1);
    TScriptedDialogs& ChooseSave(const QString& fileName, int filterIndex = 1);
    TScriptedDialogs& ChooseFolder(const QString& folder);
    TScriptedDialogs& ConfirmPrint(bool confirm);
    TScriptedDialogs& ConfirmPrinterSetup(bool confirm);

    std::size_t Pending() const { return FQueue.size(); }
    const std::vector<TShownDialog>& Shown() const { return FShown; }
    QStringList ShownTexts() const;

    std::function<void(const QString& description)> OnUnexpected;

    TModalResult MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons) override;
    void ShowError(const QString& text) override;
    std::optional<TFileDialogAnswer> OpenFile(const TFileDialogOptions& options) override;
    std::optional<TFileDialogAnswer> SaveFile(const TFileDialogOptions& options) override;
    QString SelectFolder(const QString& title) override;
    bool PrintDialog(QPrinter& printer) override;
    bool PrinterSetupDialog(QPrinter& printer) override;

private:
    // The next answer when it is of this kind; otherwise reports and returns null.
    std::optional<TScriptedAnswer> Take(TDialogKind kind, const QString& text);
    std::deque<TScriptedAnswer> FQueue;
    std::vector<TShownDialog> FShown;
};
