#pragma once
// TRegistry: the per-user settings and the file-type classes, as keys holding named text
// values. Each root is one INI file in the registry folder ($NUMERAK_REGISTRY_DIR, else
// $XDG_CONFIG_HOME/Numerak!/); a key path uses "\" between its parts and the default value
// has the empty name. Writes reach the file atomically when the key is closed.

#include <QByteArray>
#include <QString>

#include <memory>
#include <stdexcept>

class QSettings;

enum class TRegistryRoot { HKEY_CURRENT_USER, HKEY_CLASSES_ROOT };

// A failed registry operation, such as reading a value that is not text.
class ERegistryException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TRegistry {
public:
    explicit TRegistry(TRegistryRoot root = TRegistryRoot::HKEY_CURRENT_USER);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // Opens a key below the current one (or below the root when it starts with "\"), creating
    // it when canCreate is true. False when it does not exist and was not created.
    bool OpenKey(const QString& key, bool canCreate);
    bool KeyExists(const QString& key) const;
    // Writes pending changes and returns to the root.
    void CloseKey();
    QString CurrentPath() const { return FCurrent; }

    bool ValueExists(const QString& name) const;
    // Empty for an absent value; throws ERegistryException for a value that is not text.
    QString ReadString(const QString& name) const;
    void WriteString(const QString& name, const QString& value);
    // A value of a non-text type.
    void WriteBinaryData(const QString& name, const QByteArray& data);
    bool DeleteValue(const QString& name);
    // Deletes the key with its subkeys and values.
    bool DeleteKey(const QString& key);

private:
    QString Resolve(const QString& key) const;
    QString ValueKey(const QString& name) const;

    std::unique_ptr<QSettings> FSettings;
    QString FCurrent;  // settings group of the open key, "" at the root
};

// The folder that holds one INI file per root.
QString RegistryFolder();
