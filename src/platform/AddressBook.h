#pragma once

#include "VCardMapping.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

// The user's address book over vCard files (2.1, 3.0, 4.0). The source is a folder
// of collections, each a folder of card files (the vdir layout of
// $XDG_DATA_HOME/contacts), a folder of card files, or one file of several cards.
//
// Entries: folders (kind 1), groups (kind 2) and contacts (kind 4). The root's
// sub-folders are the source's sub-folders (not ".*"), each named by the first line
// of its "displayname" file or else by its own name; before them stands the source
// itself, the fixed folder, when it holds cards or has no sub-folder. A folder's
// groups are its cards' categories and its group cards (with their members).
// Folders, groups and card files go by name, letter case ignored; a file's cards
// keep their order. Identifiers come from folder and file names and positions (UIDs
// repeat); a look-up finds the entries read and never builds a path.
//
// The folders are listed when the book is made; a folder's cards are read when its
// groups or contacts are first asked for, each file once. Files over 64 MiB are
// passed over; a card beyond the limits of ReadCards and CardCategories is cut,
// and a folder makes at most MaxGroups groups (a group card beyond them is kept
// as a card that is not listed), so that what a book costs stays in proportion to
// its files.
class AddressBook {
public:
    enum Kind { FolderKind = 1, GroupKind = 2, ContactKind = 4 };

    // A contact's texts in one block of UTF-8: a bit for each text given, then those
    // texts each closed by a NUL (no cleaned text holds one); nothing is kept of the
    // many texts a contact leaves empty.
    class TextBlock {
    public:
        TextBlock() = default;
        explicit TextBlock(const ContactTexts& texts);
        QString operator[](ContactText text) const;
        bool IsEmpty() const { return block_.isEmpty(); }

    private:
        QByteArray block_;  // empty when every text is
    };

    struct Entry {
        QString Id;
        QString Name;
        int Kind = FolderKind;
        // True for a contact card (not a group card) that gives one of the texts.
        bool Listed = false;
        TextBlock Texts;
    };

    enum class [[nodiscard]] SaveResult { Saved, NotFound, NotRenamable, EmptyName, ChangedSinceRead, WriteProtected, WriteFailed };

    static constexpr qint64 MaxFileSize = 64 << 20;
    static constexpr int MaxGroups = 10000;

    // fallbackCharset reads a value that is neither marked nor valid UTF-8.
    AddressBook(const QString& source, const QByteArray& fallbackCharset);
    ~AddressBook();
    AddressBook(const AddressBook&) = delete;
    AddressBook& operator=(const AddressBook&) = delete;

    // $XDG_DATA_HOME/contacts (default ~/.local/share/contacts).
    static QString DefaultSource();
    // True when the source is a file that holds a card that can be read; reads it.
    bool HoldsReadableCard();
    // True when the source is a file too large to be read.
    bool TooLarge() const;
    // True when a card read so far was cut or passed over, or a group not made, for
    // the limits above.
    bool CutCards() const { return cut_; }

    const Entry& Root() const;
    // nullptr when the source has no cards of its own beside sub-folders.
    const Entry* FixedFolder() const;
    const Entry* LookUp(const QString& id);
    QList<const Entry*> SubFolders(const Entry& folder) const;
    QList<const Entry*> Groups(const Entry& folder);
    // Of a folder or a group; a folder's list holds its group cards too (not listed).
    QList<const Entry*> Contacts(const Entry& entry);

    // Sub-folders and group cards take a new name; the fixed folder and the groups of
    // a category do not.
    bool CanRename(const Entry& entry) const;
    // A folder's name goes into its "displayname" file; a group card's into its FN
    // line (and the first part of N). The file is rewritten atomically, keeping its
    // mode, and only when it is as it was read and writable.
    SaveResult SetNameAndSave(const QString& id, const QString& name);

private:
    struct Node;
    struct Contents;
    struct CardFile;
    struct FolderReading;

    Node* add(const QString& id, const QString& name, int kind);
    // Folders and category groups by their identifier, cards by folder, file and position.
    Node* node(const QString& id) const;
    void addFolder(const QString& id, const QString& path, bool isFile);
    void read(Node* folder);
    void readFile(Node* folder, int file, FolderReading& reading);
    void addToCategories(Node* folder, Node* card, const QStringList& categories, FolderReading& reading);
    void collectGroups(Node* folder, FolderReading& reading);
    static bool byPosition(const Node* a, const Node* b);
    SaveResult renameFolder(Node* folder, const QString& name);
    SaveResult renameGroupCard(Node* group, const QString& name);

    QString source_;
    QByteArray fallbackCharset_;
    // In blocks of many: one allocation for many small cards, and a node stays where
    // it is.
    static constexpr size_t NodeBlock = 4096;
    std::vector<std::unique_ptr<Node[]>> nodes_;
    size_t nodeCount_ = 0;
    std::vector<CardFile> files_;
    QHash<QString, Node*> byId_;
    Node* root_ = nullptr;
    Node* fixed_ = nullptr;
    bool cut_ = false;
};
