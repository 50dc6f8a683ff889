#include "app/image_list.h"

#include <QApplication>
#include <QStyle>

namespace {
struct TIconSource {
    const char* ThemeName;
    QStyle::StandardPixmap Fallback;
};

// Index → picture. The indexes are fixed by the menus and tabs that use them.
constexpr std::array<TIconSource, TImageList::Count> Sources{{
    {"document-open", QStyle::SP_DialogOpenButton},           // 0 open
    {"document-save-as", QStyle::SP_DialogSaveButton},        // 1 save as, scan and print
    {"scanner", QStyle::SP_DriveFDIcon},                      // 2 scan
    {"document-save", QStyle::SP_DialogSaveButton},           // 3 scan and save
    {"media-record", QStyle::SP_MediaPlay},                   // 4 all in one
    {"document-print", QStyle::SP_ComputerIcon},              // 5 print
    {"image-x-generic", QStyle::SP_FileIcon},                 // 6
    {"application-exit", QStyle::SP_DialogCloseButton},       // 7 quit
    {"input-tablet", QStyle::SP_DriveHDIcon},                 // 8 activate the scanner
    {"view-refresh", QStyle::SP_BrowserReload},               // 9 conversion
    {"printer", QStyle::SP_ComputerIcon},                     // 10 printer set-up
    {"document-print-preview", QStyle::SP_FileDialogContentsView},  // 11 print preview
    {"image-x-generic", QStyle::SP_FileIcon},                 // 12 document tab
    {"help-browser", QStyle::SP_DialogHelpButton},            // 13 help
    {"preferences-system", QStyle::SP_FileDialogDetailedView},  // 14 settings page
    {"application-pdf", QStyle::SP_FileIcon},                 // 15 PDF
    {"image-x-generic", QStyle::SP_DirIcon},                  // 16 image page
    {"window-close", QStyle::SP_DialogCloseButton},           // 17 close
    {"edit-clear-all", QStyle::SP_DialogDiscardButton},       // 18 close all
    {"document-save", QStyle::SP_DialogSaveButton},           // 19 save all
    {"web-browser", QStyle::SP_DriveNetIcon},                 // 20 web page
    {"go-previous", QStyle::SP_ArrowLeft},                    // 21
    {"go-next", QStyle::SP_ArrowRight},                       // 22
    {"edit-cut", QStyle::SP_TrashIcon},                       // 23
    {"edit-paste", QStyle::SP_FileDialogNewFolder},           // 24 paste
    {"edit-copy", QStyle::SP_FileLinkIcon},                   // 25 copy
    {"edit-undo", QStyle::SP_ArrowBack},                      // 26 undo
}};
}  // namespace

TImageList::TImageList()
{
    // Without a desktop session no theme is set; Adwaita is installed with the program.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    QStyle* style = QApplication::style();
    for (std::size_t i = 0; i < Sources.size(); ++i) {
        const QIcon fallback = style->standardIcon(Sources[i].Fallback);
        const QIcon themed = QIcon::fromTheme(QString::fromLatin1(Sources[i].ThemeName));
        FIcons[i] = themed.isNull() ? fallback : themed;
    }
}
