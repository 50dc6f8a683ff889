#include "platform/dialogs/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace {
QMessageBox::Icon IconOf(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning: return QMessageBox::Warning;
    case TMsgDlgType::mtError: return QMessageBox::Critical;
    case TMsgDlgType::mtInformation: return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

std::optional<TFileDialogAnswer> RunFileDialog(const TFileDialogOptions& options, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(QApplication::activeWindow(), options.Title, options.InitialDir, options.Filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // The commands ask about overwriting themselves.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(options.DefaultExt);
    const QStringList filters = options.Filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    if (options.FilterIndex >= 1 && options.FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[options.FilterIndex - 1]);
    if (!options.FileName.isEmpty()) dialog.selectFile(options.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return TFileDialogAnswer{dialog.selectedFiles().first(),
                             static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1};
}
}  // namespace

TModalResult TQtDialogs::MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    QMessageBox box(IconOf(type), QApplication::applicationName(), text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    if (buttons & mbYes) box.addButton(QMessageBox::Yes);
    if (buttons & mbNo) box.addButton(QMessageBox::No);
    if (buttons & mbOK) box.addButton(QMessageBox::Ok);
    if (buttons & mbCancel) box.addButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes: return TModalResult::mrYes;
    case QMessageBox::No: return TModalResult::mrNo;
    case QMessageBox::Ok: return TModalResult::mrOk;
    default: return TModalResult::mrCancel;
    }
}

void TQtDialogs::ShowError(const QString& text)
{
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), text);
}

std::optional<TFileDialogAnswer> TQtDialogs::OpenFile(const TFileDialogOptions& options)
{
    return RunFileDialog(options, QFileDialog::AcceptOpen);
}

std::optional<TFileDialogAnswer> TQtDialogs::SaveFile(const TFileDialogOptions& options)
{
    return RunFileDialog(options, QFileDialog::AcceptSave);
}

QString TQtDialogs::SelectFolder(const QString& title)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, QString(),
                                             QFileDialog::ShowDirsOnly);
}

bool TQtDialogs::PrintDialog(QPrinter& printer)
{
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

bool TQtDialogs::PrinterSetupDialog(QPrinter& printer)
{
    QPageSetupDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}
