#include "platform/dialogs/scripted_dialogs.h"

namespace {
const char* KindName(TDialogKind kind)
{
    switch (kind) {
    case TDialogKind::dkMessage: return "message box";
    case TDialogKind::dkError: return "error box";
    case TDialogKind::dkOpen: return "open dialog";
    case TDialogKind::dkSave: return "save dialog";
    case TDialogKind::dkFolder: return "folder dialog";
    case TDialogKind::dkPrint: return "print dialog";
    case TDialogKind::dkPrinterSetup: return "printer set-up dialog";
    }
    return "dialog";
}
}  // namespace

TScriptedDialogs& TScriptedDialogs::Answer(TModalResult result)
{
    FQueue.push_back({TDialogKind::dkMessage, result, {}, 1});
    return *this;
}

TScriptedDialogs& TScriptedDialogs::AcceptError()
{
    FQueue.push_back({TDialogKind::dkError, TModalResult::mrOk, {}, 1});
    return *this;
}

TScriptedDialogs& TScriptedDialogs::ChooseOpen(const QString& fileName, int filterIndex)
{
    FQueue.push_back({TDialogKind::dkOpen, TModalResult::mrOk, fileName, filterIndex});
    return *this;
}

TScriptedDialogs& TScriptedDialogs::ChooseSave(const QString& fileName, int filterIndex)
{
    FQueue.push_back({TDialogKind::dkSave, TModalResult::mrOk, fileName, filterIndex});
    return *this;
}

TScriptedDialogs& TScriptedDialogs::ChooseFolder(const QString& folder)
{
    FQueue.push_back({TDialogKind::dkFolder, TModalResult::mrOk, folder, 1});
    return *this;
}

TScriptedDialogs& TScriptedDialogs::ConfirmPrint(bool confirm)
{
    FQueue.push_back({TDialogKind::dkPrint, confirm ? TModalResult::mrOk : TModalResult::mrCancel, {}, 1});
    return *this;
}

TScriptedDialogs& TScriptedDialogs::ConfirmPrinterSetup(bool confirm)
{
    FQueue.push_back({TDialogKind::dkPrinterSetup, confirm ? TModalResult::mrOk : TModalResult::mrCancel, {}, 1});
    return *this;
}

QStringList TScriptedDialogs::ShownTexts() const
{
    QStringList texts;
    for (const TShownDialog& shown : FShown) texts << shown.Text;
    return texts;
}

std::optional<TScriptedAnswer> TScriptedDialogs::Take(TDialogKind kind, const QString& text)
{
    if (FQueue.empty() || FQueue.front().Kind != kind) {
        const QString expected = FQueue.empty() ? QStringLiteral("nothing")
                                                : QString::fromLatin1(KindName(FQueue.front().Kind));
        if (OnUnexpected)
            OnUnexpected(QStringLiteral("unexpected %1 \"%2\" (next scripted answer: %3)")
                             .arg(QString::fromLatin1(KindName(kind)), text, expected));
        return std::nullopt;
    }
    TScriptedAnswer answer = FQueue.front();
    FQueue.pop_front();
    return answer;
}

TModalResult TScriptedDialogs::MessageDlg(const QString& text, TMsgDlgType, TMsgDlgButtons buttons)
{
    FShown.push_back({TDialogKind::dkMessage, text, buttons, {}});
    const auto answer = Take(TDialogKind::dkMessage, text);
    return answer ? answer->Result : TModalResult::mrCancel;
}

void TScriptedDialogs::ShowError(const QString& text)
{
    FShown.push_back({TDialogKind::dkError, text, mbOK, {}});
    Take(TDialogKind::dkError, text);
}

std::optional<TFileDialogAnswer> TScriptedDialogs::OpenFile(const TFileDialogOptions& options)
{
    FShown.push_back({TDialogKind::dkOpen, options.Title, {}, options});
    const auto answer = Take(TDialogKind::dkOpen, options.Title);
    if (!answer || answer->Text.isEmpty()) return std::nullopt;
    return TFileDialogAnswer{answer->Text, answer->FilterIndex};
}

std::optional<TFileDialogAnswer> TScriptedDialogs::SaveFile(const TFileDialogOptions& options)
{
    FShown.push_back({TDialogKind::dkSave, options.Title, {}, options});
    const auto answer = Take(TDialogKind::dkSave, options.Title);
    if (!answer || answer->Text.isEmpty()) return std::nullopt;
    return TFileDialogAnswer{answer->Text, answer->FilterIndex};
}

QString TScriptedDialogs::SelectFolder(const QString& title)
{
    FShown.push_back({TDialogKind::dkFolder, title, {}, {}});
    const auto answer = Take(TDialogKind::dkFolder, title);
    return answer ? answer->Text : QString();
}

bool TScriptedDialogs::PrintDialog(QPrinter&)
{
    FShown.push_back({TDialogKind::dkPrint, QString(), {}, {}});
    const auto answer = Take(TDialogKind::dkPrint, QStringLiteral("Print"));
    return answer && answer->Result == TModalResult::mrOk;
}

bool TScriptedDialogs::PrinterSetupDialog(QPrinter&)
{
    FShown.push_back({TDialogKind::dkPrinterSetup, QString(), {}, {}});
    const auto answer = Take(TDialogKind::dkPrinterSetup, QStringLiteral("Printer set-up"));
    return answer && answer->Result == TModalResult::mrOk;
}
