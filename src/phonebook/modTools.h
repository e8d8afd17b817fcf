#pragma once

#include "platform/AddressBook.h"

#include <QList>
#include <QSet>
#include <QString>

#include <array>

class QTreeWidget;
class QTreeWidgetItem;

// Routines of the address-book import: the folder tree and the contact lists of the
// wizard, filled from the module's own address book.

// The wizard's contact table, kept out of sight: one row per listed contact, in the
// order of the visible list (row i of the one is row i of the other). Column 0 holds
// the general group's shown name, columns 1 to 22 the texts the transfer stores.
struct ContactRow {
    QString Key;
    std::array<QString, 23> Columns;
};

struct ContactTable {
    QList<ContactRow> Rows;
    QSet<QString> Keys;
    void Clear();
};

// Makes the module's address book over the wizard's source, with its root folder;
// it stays until the wizard loads again.
void InitAddressBook();
// One node per folder of the root ("F" + identifier), one child per group of it
// ("G" + identifier); the first folder node is selected. Runs no click handler.
void FillFolderTree(QTreeWidget* tree);
// Fills the table with the listed contacts of the node's folder or group and appends
// their rows to the wizard's visible contact list. No node, or a node whose entry
// cannot be found, lists nothing.
void FillContactList(QTreeWidgetItem* node, ContactTable& table);
// The identifier a node's key carries: the key without its first character.
QString KeyId(const QString& key);
// "C", "F" or "G" by kind, the identifier, "&" and the smallest number from 0 that
// makes the key new in the table.
QString MakeItemKey(const AddressBook::Entry& entry, const ContactTable& table);

// A tree node's key, and the name it had when it was filled or last saved.
QString NodeKey(const QTreeWidgetItem* node);
QString NodeSavedName(const QTreeWidgetItem* node);
void SetNodeName(QTreeWidgetItem* node, const QString& name);
// The charset of card values that say none and are not UTF-8: the usual one of the
// interface language (windows-1251 for the Cyrillic languages).
QByteArray CardFallbackCharset();
