#pragma once
// The operating-system label and the default save folder.

#include <QString>

// The label for a system version; platformId has bit 1 set for the NT family. A system with
// no such version (any non-Windows system) passes 0, 0, 0.
QString OperatingSystemName(int major, int minor, int platformId);
// The documents folder, with "mes images" below it on Windows XP.
QString DefaultSaveFolder(const QString& osLabel, const QString& documentsFolder);
