#pragma once

#include "platform/AddressBook.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>

#include <memory>

class QTreeWidget;
class QTreeWidgetItem;

// Routines of the address-book import: the folder tree and the contact lists of the
// wizard, filled from the module's own address book.

// The wizard's contact table, kept out of sight: one row per listed contact, in the
// order of the visible list (row i of the one is row i of the other). Column 0 holds
// the general group's shown name, columns 1 to 22 the texts the transfer stores. A
// row holds its contact of the module's address book, and its texts are read from
// there, so that a long list takes little memory.
struct ContactRow {
    const AddressBook::Entry* Contact = nullptr;
    int Counter = 0;  // what makes the row's key new in the table
};

struct ContactTable {
    QList<ContactRow> Rows;
    QString GeneralGroup;

    void Clear();
    // One row per contact, in order; an entry listed again gets the next counter.
    void Fill(const QList<const AddressBook::Entry*>& contacts);
    QString Key(int row) const;
    QString Text(int row, int column) const;
};

// The wizard's visible contact list over the contact table: given name, surname,
// mobile and home phone under the fixed headings "Name", "Surname", "Mobile" and
// "Phone".
class ContactListModel : public QAbstractTableModel {
public:
    ContactListModel(const ContactTable& table, QObject* parent);
    void Clear();
    // The table's rows not shown yet join the list, all at once.
    void ShowAppended();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const ContactTable& table_;
    int shown_ = 0;
};

// Makes the module's address book over the wizard's source, with its root folder,
// or takes one already read over it; it stays until the wizard loads again or the
// window that made it goes. The wizard's rename rules ask the same book.
void InitAddressBook(std::unique_ptr<AddressBook> read = nullptr);
AddressBook* ModuleAddressBook();
// Frees the module's book when it is that one.
void ReleaseAddressBook(const AddressBook* book);
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
// makes the key new in the table: the key the entry's next row gets.
QString MakeItemKey(const AddressBook::Entry& entry, const ContactTable& table);

// A tree node's key, and the name it had when it was filled or last saved.
QString NodeKey(const QTreeWidgetItem* node);
QString NodeSavedName(const QTreeWidgetItem* node);
void SetNodeName(QTreeWidgetItem* node, const QString& name);
// The charset of card values that say none and are not UTF-8: the usual one of the
// interface language (windows-1251 for the Cyrillic languages).
QByteArray CardFallbackCharset();
