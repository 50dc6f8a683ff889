#include "app/system_info.h"

#include <QDir>

#include <array>

namespace {
constexpr int AnyMinor = -1;
enum class TPlatform { Any, NT, Other };

struct TSystemRow {
    int Major;
    int Minor;
    TPlatform Platform;
    const char* Name;
};

// First matching row wins; a major version that no row names is "Inconnu".
constexpr std::array<TSystemRow, 10> Systems{{
    {3, 51, TPlatform::Any, "Windows NT 3.51"},
    {3, AnyMinor, TPlatform::Any, "unknown"},
    {4, 0, TPlatform::NT, "Windows NT 4.0"},
    {4, 0, TPlatform::Other, "Windows 95"},
    {4, 10, TPlatform::Any, "Windows 98"},
    {4, 90, TPlatform::Any, "Windows ME"},
    {4, AnyMinor, TPlatform::Any, "Inconnu"},
    {5, 0, TPlatform::Any, "Windows 2000"},
    {5, 1, TPlatform::Any, "Windows XP"},
    {5, AnyMinor, TPlatform::Any, "Inconnu"},
}};
}  // namespace

QString OperatingSystemName(int major, int minor, int platformId)
{
    const TPlatform platform = (platformId & 2) ? TPlatform::NT : TPlatform::Other;
    for (const TSystemRow& row : Systems) {
        if (row.Major != major) continue;
        if (row.Minor != AnyMinor && row.Minor != minor) continue;
        if (row.Platform != TPlatform::Any && row.Platform != platform) continue;
        return QString::fromLatin1(row.Name);
    }
    return QStringLiteral("Inconnu");
}

QString DefaultSaveFolder(const QString& osLabel, const QString& documentsFolder)
{
    if (osLabel == QLatin1String("Windows XP")) return QDir(documentsFolder).filePath(QStringLiteral("mes images"));
    return documentsFolder;
}
