#pragma once

#include "Connection.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// What a read of the store found. Failed is a store that gave no answer (the
// database busy past its timeout, an I/O error): it says nothing about the value,
// and is never to be taken for one that is missing.
enum class ReadResult { Found, Missing, Failed };

// A registry of text values under full key paths ("HKEY_CURRENT_USER\SOFTWARE\...").
// A path ending in "\" names a key (its default value); otherwise the last part
// names a value. Each value is one row of the table "registry" of a database,
// stored under its full path; a key is the set of rows below it. Paths compare
// without letter case. Every call is one statement on the connection, so inside
// the connection's open transaction a change commits or rolls back with the rest.
class RegistryStore {
public:
    explicit RegistryStore(Connection& connection)
        : connection_(connection)
    {
    }

    // Makes the table where the file has none.
    static DbResult CreateTable(Connection& connection);

    [[nodiscard]] bool Write(const QString& path, const QString& value);
    // Writes a value that is not there yet; one that is stays as it is.
    [[nodiscard]] bool WriteNew(const QString& path, const QString& value);
    // Missing when the value (or, for a key path, the key) does not exist.
    [[nodiscard]] ReadResult Read(const QString& path, QString* value) const;
    // Deletes a value, or a key with everything under it; false when it is missing
    // or the database refused the change.
    [[nodiscard]] bool Delete(const QString& path);
    [[nodiscard]] ReadResult KeyExists(const QString& keyPath) const;
    // Names of the keys right below a key, as first written; a read that fails
    // lists nothing.
    QStringList SubKeys(const QString& keyPath) const;

private:
    Connection& connection_;
};

// The values of a file of the store's earlier, file-based form, by full path (a
// key's default value under the key's path and "\"), in file order; lines that do
// not parse or name no value the store can hold are left out. False when the file
// cannot be read.
[[nodiscard]] bool ReadRegistryFile(const QString& path, QList<std::pair<QString, QString>>* values);
