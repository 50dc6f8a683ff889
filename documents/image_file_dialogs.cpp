#include "documents/image_file_dialogs.h"

#include "formats/imageio/format_table.h"
#include "formats/imageio/image_io.h"
#include "platform/dialogs/qt_dialogs.h"
#include "platform/view/bitmap_image.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <array>

namespace {

constexpr int kPreviewSide = 180;

struct TSaveType {
    const char* Name;
    const char* Extension;
};
constexpr std::array<TSaveType, 12> kSaveTypes{{
    {"JPEG Bitmap (JPG)", "jpg"}, {"TIFF Bitmap (TIF)", "tif"}, {"PaintBrush (PCX)", "pcx"},
    {"Portable Network Graphics (PNG)", "png"}, {"Windows Bitmap (BMP)", "bmp"}, {"OS/2 Bitmap (BMP)", "bmp"},
    {"Targa Bitmap (TGA)", "tga"}, {"Portable PixMap (PXM)", "pxm"}, {"Portable PixMap (PPM)", "ppm"},
    {"Portable GreyMap (PGM)", "pgm"}, {"Portable Bitmap (PBM)", "pbm"}, {"Compuserve Bitmap (GIF)", "gif"},
}};

QString Patterns(const QStringList& extensions)
{
    QStringList patterns;
    for (const QString& e : extensions) patterns << "*." + e.toLower();
    return patterns.join(' ');
}

// The real provider shows our dialogs with their extras; any other provider is asked directly.
bool RealDialogs()
{
    return dynamic_cast<TQtDialogs*>(&Dialogs()) != nullptr;
}

int FilterIndexOf(const QFileDialog& dialog, const QStringList& filters)
{
    return int(filters.indexOf(dialog.selectedNameFilter())) + 1;
}

void Prepare(QFileDialog& dialog, const TFileDialogOptions& options, const QStringList& filters)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (options.FilterIndex >= 1 && options.FilterIndex <= filters.size()) dialog.selectNameFilter(filters[options.FilterIndex - 1]);
    if (!options.FileName.isEmpty()) dialog.selectFile(options.FileName);
}

} // namespace

QString OpenImageFilter()
{
    QStringList all, entries;
    for (const TFileFormatInfo& row : IEFileFormats()) {
        if (!IECanRead(row)) continue;
        const QStringList extensions = QString::fromStdString(row.Extensions).split(';', Qt::SkipEmptyParts);
        all << extensions;
        entries << QString("%1 (%2) (%3)").arg(QString::fromStdString(row.FullName), extensions.join(';').toUpper(), Patterns(extensions));
    }
    all << "avi";
    entries.prepend(QString("All graphics (%1)").arg(Patterns(all)));
    entries << "Video for Windows (AVI) (*.avi)";
    return entries.join(";;");
}

QString SaveImageFilter()
{
    QStringList entries;
    for (const TSaveType& type : kSaveTypes) entries << QString("%1 (*.%2)").arg(type.Name, type.Extension);
    return entries.join(";;");
}

QString SaveTypeExtension(int filterIndex)
{
    if (filterIndex < 1 || filterIndex > int(kSaveTypes.size())) return {};
    return QString(".") + kSaveTypes[filterIndex - 1].Extension;
}

QString NameForSaveType(const QString& fileName, int filterIndex)
{
    const int dot = fileName.indexOf('.');
    return (dot < 0 ? fileName : fileName.left(dot)) + SaveTypeExtension(filterIndex);
}

QString WithSaveTypeExtension(const QString& fileName, int filterIndex)
{
    return QFileInfo(fileName).suffix().isEmpty() ? fileName + SaveTypeExtension(filterIndex) : fileName;
}

std::optional<TFileDialogAnswer> OpenImageFile(const TFileDialogOptions& options)
{
    if (!RealDialogs()) return Dialogs().OpenFile(options);
    const QStringList filters = options.Filter.split(";;", Qt::SkipEmptyParts);
    QFileDialog dialog(QApplication::activeWindow(), options.Title, options.InitialDir, options.Filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly);
    Prepare(dialog, options, filters);

    // A preview of the file under the cursor, read by our own codecs.
    auto* preview = new QLabel(&dialog);
    preview->setAccessibleName("Preview");
    preview->setFixedSize(kPreviewSide, kPreviewSide);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
        preview->clear();
        if (!QFileInfo(path).isFile()) return;
        TImageIO io;
        try {
            io.LoadFromFile(path.toStdString());
        } catch (const std::exception&) {
            return;
        }
        const TIEBitmap* bitmap = io.IEBitmap();
        if (!bitmap || bitmap->Empty()) return;
        preview->setPixmap(QPixmap::fromImage(BitmapToQImage(*bitmap).scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio,
                                                                            Qt::SmoothTransformation)));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return TFileDialogAnswer{dialog.selectedFiles().first(), FilterIndexOf(dialog, filters)};
}

std::optional<TFileDialogAnswer> SaveImageFile(const TFileDialogOptions& options)
{
    std::optional<TFileDialogAnswer> answer;
    if (!RealDialogs()) {
        answer = Dialogs().SaveFile(options);
    } else {
        const QStringList filters = options.Filter.split(";;", Qt::SkipEmptyParts);
        QFileDialog dialog(QApplication::activeWindow(), options.Title, options.InitialDir, options.Filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        Prepare(dialog, options, filters);
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters](const QString& filter) {
            if (auto* name = dialog.findChild<QLineEdit*>("fileNameEdit"))
                name->setText(NameForSaveType(name->text(), int(filters.indexOf(filter)) + 1));
        });
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            answer = TFileDialogAnswer{dialog.selectedFiles().first(), FilterIndexOf(dialog, filters)};
    }
    if (answer) answer->FileName = WithSaveTypeExtension(answer->FileName, answer->FilterIndex);
    return answer;
}
