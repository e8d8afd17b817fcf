#pragma once

// What an address book keeps of its entries beside what it gives out; shared by
// the reading and the renaming halves.

#include "AddressBook.h"
#include "VCard.h"

struct AddressBook::Node {
    Entry entry;
    QString path;         // a folder: its folder, or the one file of cards
    bool isFile = false;
    bool read = false;
    bool category = false;  // a group of the cards that carry one category
    std::vector<Node*> subFolders;
    std::vector<Node*> groups;
    std::vector<Node*> contacts;
    bool nameFileExisted = false;  // a folder's "displayname" as read
    QByteArray nameFile;
    int file = -1;  // a card: its file and its position there
    int card = -1;
    VCard groupCard;  // a group card: its lines, for a rename
    QString uid;
    QStringList members;
    QStringList categories;
};

struct AddressBook::CardFile {
    QString path;
    VCardText::FileForm form = VCardText::FileForm::Plain;
    qsizetype size = 0;  // the file as read, to tell a change by another program
    size_t hash = 0;
};
