#include "AddressBookData.h"

#include "FileSystem.h"

AddressBook::SaveResult AddressBook::SetNameAndSave(const QString& id, const QString& name)
{
    const Entry* entry = LookUp(id);
    if (!entry)
        return SaveResult::NotFound;
    if (!CanRename(*entry))
        return SaveResult::NotRenamable;
    const QString cleaned = CleanText(name);
    if (cleaned.isEmpty())
        return SaveResult::EmptyName;
    Node* found = node(id);
    return found->entry.Kind == FolderKind ? renameFolder(found, cleaned) : renameGroupCard(found, cleaned);
}

// The first line of "displayname" takes the name; the lines after it stay.
AddressBook::SaveResult AddressBook::renameFolder(Node* node, const QString& name)
{
    Contents* folder = node->contents.get();
    const QString path = folder->path + QStringLiteral("/displayname");
    const bool exists = FileSystem::Exists(path);
    QByteArray current;
    if (exists && !(FileSystem::IsFile(path) && FileSystem::ReadAll(path, &current)))
        return SaveResult::WriteFailed;
    if (exists != folder->nameFileExisted || current != folder->nameFile)
        return SaveResult::ChangedSinceRead;
    if (!FileSystem::ModeAllowsWriting(exists ? path : folder->path))
        return SaveResult::WriteProtected;

    qsizetype lineEnd = 0;
    while (lineEnd < current.size() && current[lineEnd] != '\r' && current[lineEnd] != '\n')
        ++lineEnd;
    const QByteArray written = name.toUtf8() + (lineEnd < current.size() ? current.mid(lineEnd) : QByteArray("\n"));
    if (!FileSystem::WriteAtomic(path, written, FileSystem::FileMode::Ordinary))
        return SaveResult::WriteFailed;
    folder->nameFileExisted = true;
    folder->nameFile = written;
    node->entry.Name = name;
    return SaveResult::Saved;
}

AddressBook::SaveResult AddressBook::renameGroupCard(Node* group, const QString& name)
{
    CardFile& file = files_[group->file];
    QByteArray data;
    if (!FileSystem::IsFile(file.path) || !FileSystem::ReadAll(file.path, &data))
        return SaveResult::ChangedSinceRead;
    if (data.size() != file.size || qHash(data) != file.hash)
        return SaveResult::ChangedSinceRead;
    if (!FileSystem::ModeAllowsWriting(file.path))
        return SaveResult::WriteProtected;

    VCardText::FileForm form;
    const QByteArray text = RenamedCard(VCardText::Normalized(data, &form), group->contents->groupCard, name);
    const QByteArray written = VCardText::InForm(text, form);
    if (!FileSystem::WriteAtomic(file.path, written, FileSystem::FileMode::Ordinary))
        return SaveResult::WriteFailed;

    // The file as it now stands: its other group cards' lines have moved.
    file.size = written.size();
    file.hash = qHash(written);
    const QList<VCard> cards = ReadCards(text, fallbackCharset_);
    for (Node* card : file.Cards()) {
        if (card->entry.Kind == GroupKind && card->card < cards.size())
            card->contents->groupCard = RenameLines(cards[card->card]);
    }
    group->entry.Name = name;
    return SaveResult::Saved;
}
