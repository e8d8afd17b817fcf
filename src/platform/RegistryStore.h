#pragma once

#include <QString>
#include <QStringList>

// A registry of text values under full key paths ("HKEY_CURRENT_USER\SOFTWARE\...").
// A path ending in "\" names a key (its default value); otherwise the last part
// names a value. Names compare without letter case and may hold any character but
// "\". Everything lives in one human-readable file, read afresh by every call and
// written atomically by every change.
class RegistryStore {
public:
    explicit RegistryStore(QString filePath);

    bool Write(const QString& path, const QString& value);
    // False when the value (or, for a key path, the key) does not exist.
    bool Read(const QString& path, QString* value) const;
    // Deletes a value, or a key with everything under it; false when it is missing
    // or the file cannot be written.
    bool Delete(const QString& path);
    bool KeyExists(const QString& keyPath) const;
    QStringList ValueNames(const QString& keyPath) const;
    QStringList SubKeys(const QString& keyPath) const;

    const QString& FilePath() const { return filePath_; }

private:
    QString filePath_;
};
