#pragma once
// The open and save dialogs of images: their file-type lists, the save dialog's extension
// rules, and the Qt dialogs with an image preview (used when the program's dialogs are the
// real ones; a scripted provider answers them in tests).

#include "platform/dialogs/dialogs.h"

#include <QString>
#include <optional>

// "All graphics", one entry per readable format of the format table, then AVI.
QString OpenImageFilter();
// The twelve fixed file types of the save dialog, in their order.
QString SaveImageFilter();
// First extension (with its dot, lower case) of save file type index (1-based); empty when out of range.
QString SaveTypeExtension(int filterIndex);
// The name box after the user picks another type: cut at the first "." and add that type's extension.
QString NameForSaveType(const QString& fileName, int filterIndex);
// A confirmed name without an extension gets the selected type's.
QString WithSaveTypeExtension(const QString& fileName, int filterIndex);

std::optional<TFileDialogAnswer> OpenImageFile(const TFileDialogOptions& options);
// The returned name already carries an extension.
std::optional<TFileDialogAnswer> SaveImageFile(const TFileDialogOptions& options);
