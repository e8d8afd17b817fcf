#pragma once

// What an address book keeps of its entries beside what it gives out; shared by
// the reading and the renaming halves.

#include "AddressBook.h"
#include "VCard.h"

#include <span>

// What a folder or a group holds; a contact has none, so that a large file of
// small cards stays small in memory.
struct AddressBook::Contents {
    std::vector<Node*> contacts;  // a folder's cards in file order, a group's contacts
    QString path;                 // a folder: its folder, or the one file of cards
    bool isFile = false;
    bool read = false;
    std::vector<Node*> subFolders;
    std::vector<Node*> groups;
    std::vector<int> files;        // a folder's card files
    QHash<QString, int> fileByName;
    bool nameFileExisted = false;  // a folder's "displayname" as read
    QByteArray nameFile;
    VCard groupCard;  // a group card: its lines, for a rename
};

struct AddressBook::Node {
    Entry entry;
    int file = -1;  // a card: its file and its position there
    int card = -1;
    std::unique_ptr<Contents> contents;  // folders and groups

    // A group of the cards that carry one category: a group that is no card.
    bool IsCategory() const { return entry.Kind == GroupKind && file < 0; }
};

struct AddressBook::CardFile {
    QString path;
    QString name;
    VCardText::FileForm form = VCardText::FileForm::Plain;
    qsizetype size = 0;  // the file as read, to tell a change by another program
    size_t hash = 0;
    Node* folder = nullptr;  // its cards are count of its folder's contacts from first on
    size_t first = 0;
    size_t count = 0;

    std::span<Node* const> Cards() const { return {folder->contents->contacts.data() + first, count}; }
};

// What ties a folder's cards to its groups, kept only while the folder is read.
struct AddressBook::FolderReading {
    QHash<QString, Node*> categories;  // the groups of categories, by the name in lower case
    std::vector<std::pair<QString, Node*>> uids;
    std::vector<std::pair<Node*, QStringList>> members;  // of the group cards
    int groups = 0;
};

// Of a group card only the lines a rename rewrites are kept.
inline VCard RenameLines(VCard card)
{
    card.properties = {};
    return card;
}
