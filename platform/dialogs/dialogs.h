#pragma once
// The program's dialogs: one call per kind, returning the user's answer. The provider is
// chosen at run time: Qt dialogs in the program, a scripted responder in tests.

#include <QFlags>
#include <QString>

#include <memory>
#include <optional>

class QPrinter;

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };
enum TMsgDlgBtn { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };
Q_DECLARE_FLAGS(TMsgDlgButtons, TMsgDlgBtn)
Q_DECLARE_OPERATORS_FOR_FLAGS(TMsgDlgButtons)
enum class TModalResult { mrNone, mrOk, mrCancel, mrYes, mrNo };

// What a file dialog is shown with. Filter uses Qt's "Text (*.a *.b);;Other (*.c)" form;
// FilterIndex counts from 1.
struct TFileDialogOptions {
    QString Title;
    QString InitialDir;
    QString Filter;
    int FilterIndex = 1;
    QString FileName;
    QString DefaultExt;
};

struct TFileDialogAnswer {
    QString FileName;
    int FilterIndex = 1;
};

class TDialogs {
public:
    virtual ~TDialogs() = default;
    // A message box with the given buttons; closing it without a button gives mrCancel.
    virtual TModalResult MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons) = 0;
    // The standard error box of the top-level handler.
    virtual void ShowError(const QString& text) = 0;
    // Empty when the user cancelled.
    virtual std::optional<TFileDialogAnswer> OpenFile(const TFileDialogOptions& options) = 0;
    virtual std::optional<TFileDialogAnswer> SaveFile(const TFileDialogOptions& options) = 0;
    // Empty when the user cancelled.
    virtual QString SelectFolder(const QString& title) = 0;
    // True when the user confirmed; the printer then holds the choices.
    virtual bool PrintDialog(QPrinter& printer) = 0;
    virtual bool PrinterSetupDialog(QPrinter& printer) = 0;
};

// The current provider (Qt dialogs unless replaced).
TDialogs& Dialogs();
// Installs a provider and returns the previous one (null for the built-in Qt dialogs).
std::unique_ptr<TDialogs> SetDialogs(std::unique_ptr<TDialogs> dialogs);
