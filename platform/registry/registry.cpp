#include "platform/registry/registry.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {
// Marks a key that exists without values; values never use this name.
const QString KeyMarker = QStringLiteral("@key");
// The default (unnamed) value.
const QString DefaultValueName = QStringLiteral("@default");

QString RootFileName(TRegistryRoot root)
{
    return root == TRegistryRoot::HKEY_CLASSES_ROOT ? QStringLiteral("HKEY_CLASSES_ROOT.ini")
                                                    : QStringLiteral("HKEY_CURRENT_USER.ini");
}

QString Join(const QString& a, const QString& b)
{
    if (a.isEmpty()) return b;
    if (b.isEmpty()) return a;
    return a + QLatin1Char('/') + b;
}
}  // namespace

QString RegistryFolder()
{
    const QByteArray redirected = qgetenv("NUMERAK_REGISTRY_DIR");
    if (!redirected.isEmpty()) return QString::fromLocal8Bit(redirected);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Numerak!");
}

TRegistry::TRegistry(TRegistryRoot root)
{
    const QString folder = RegistryFolder();
    QDir().mkpath(folder);
    FSettings = std::make_unique<QSettings>(folder + QLatin1Char('/') + RootFileName(root), QSettings::IniFormat);
}

TRegistry::~TRegistry()
{
    FSettings->sync();
}

QString TRegistry::Resolve(const QString& key) const
{
    QStringList parts = key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    const QString relative = parts.join(QLatin1Char('/'));
    return key.startsWith(QLatin1Char('\\')) ? relative : Join(FCurrent, relative);
}

QString TRegistry::ValueKey(const QString& name) const
{
    return Join(FCurrent, name.isEmpty() ? DefaultValueName : name);
}

bool TRegistry::KeyExists(const QString& key) const
{
    const QString path = Resolve(key);
    if (path.isEmpty()) return true;
    if (FSettings->contains(path + QLatin1Char('/') + KeyMarker)) return true;
    FSettings->beginGroup(path);
    const bool hasContent = !FSettings->allKeys().isEmpty();
    FSettings->endGroup();
    return hasContent;
}

bool TRegistry::OpenKey(const QString& key, bool canCreate)
{
    const QString path = Resolve(key);
    if (!KeyExists(key)) {
        if (!canCreate) return false;
        // Every missing level is created, as the key's parents must exist too.
        QString level;
        for (const QString& part : path.split(QLatin1Char('/'))) {
            level = Join(level, part);
            if (!FSettings->contains(level + QLatin1Char('/') + KeyMarker))
                FSettings->setValue(level + QLatin1Char('/') + KeyMarker, QString());
        }
    }
    FCurrent = path;
    return true;
}

void TRegistry::CloseKey()
{
    FSettings->sync();
    FCurrent.clear();
}

bool TRegistry::ValueExists(const QString& name) const
{
    return FSettings->contains(ValueKey(name));
}

QString TRegistry::ReadString(const QString& name) const
{
    const QVariant value = FSettings->value(ValueKey(name));
    if (!value.isValid()) return QString();
    if (value.typeId() != QMetaType::QString)
        throw ERegistryException(QStringLiteral("Type de données incorrect pour '%1'").arg(name).toStdString());
    return value.toString();
}

void TRegistry::WriteString(const QString& name, const QString& value)
{
    FSettings->setValue(ValueKey(name), value);
}

void TRegistry::WriteBinaryData(const QString& name, const QByteArray& data)
{
    FSettings->setValue(ValueKey(name), data);
}

bool TRegistry::DeleteValue(const QString& name)
{
    if (!ValueExists(name)) return false;
    FSettings->remove(ValueKey(name));
    return true;
}

bool TRegistry::DeleteKey(const QString& key)
{
    if (!KeyExists(key)) return false;
    FSettings->remove(Resolve(key));
    return true;
}
