#include "AddressBookData.h"

#include "FileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

bool byName(const QString& a, const QString& b)
{
    const int compared = QString::compare(a, b, Qt::CaseInsensitive);
    return compared != 0 ? compared < 0 : a < b;
}

bool isCardFileName(const QString& name)
{
    return !name.startsWith(QLatin1Char('.'))
        && (name.endsWith(QStringLiteral(".vcf"), Qt::CaseInsensitive)
            || name.endsWith(QStringLiteral(".vcard"), Qt::CaseInsensitive));
}

QString joined(const QString& folder, const QString& name) { return folder + QLatin1Char('/') + name; }

// Regular files only: a FIFO or a device would block the reading.
QStringList cardFiles(const QString& folder)
{
    QStringList names;
    for (const QString& name : FileSystem::FileNames(folder)) {
        if (isCardFileName(name) && QFileInfo(joined(folder, name)).isFile())
            names.append(name);
    }
    std::sort(names.begin(), names.end(), byName);
    return names;
}

bool readCapped(const QString& path, QByteArray* data)
{
    const QFileInfo info(path);
    return info.isFile() && info.size() <= AddressBook::MaxFileSize && FileSystem::ReadAll(path, data);
}

}  // namespace

AddressBook::AddressBook(const QString& source, const QByteArray& fallbackCharset)
    : source_(source)
    , fallbackCharset_(fallbackCharset)
{
    root_ = add(QStringLiteral("/"), QFileInfo(source).fileName(), FolderKind);
    root_->path = source;
    if (QFileInfo(source).isFile()) {
        addFolder(QStringLiteral("."), source, true);
        return;
    }
    QStringList subFolders;
    for (const QString& name : FileSystem::FolderNames(source)) {
        if (!name.startsWith(QLatin1Char('.')))
            subFolders.append(name);
    }
    if (subFolders.isEmpty() || !cardFiles(source).isEmpty())
        addFolder(QStringLiteral("."), source, false);
    for (const QString& name : subFolders)
        addFolder(name, joined(source, name), false);
    auto first = root_->subFolders.begin() + (fixed_ ? 1 : 0);
    std::stable_sort(first, root_->subFolders.end(),
                     [](const Node* a, const Node* b) { return byName(a->entry.Name, b->entry.Name); });
}

AddressBook::~AddressBook() = default;

QString AddressBook::DefaultSource()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return joined(data, QStringLiteral("contacts"));
}

bool AddressBook::HoldsReadableCard(const QString& file, const QByteArray& fallbackCharset)
{
    QByteArray data;
    VCardText::FileForm form;
    return readCapped(file, &data) && !ReadCards(VCardText::Normalized(data, &form), fallbackCharset).isEmpty();
}

AddressBook::Node* AddressBook::add(const QString& id, const QString& name, int kind)
{
    nodes_.push_back(std::make_unique<Node>());
    Node* node = nodes_.back().get();
    node->entry.Id = id;
    node->entry.Name = name;
    node->entry.Kind = kind;
    byId_.insert(id, node);
    return node;
}

AddressBook::Node* AddressBook::node(const QString& id) const { return byId_.value(id); }

void AddressBook::addFolder(const QString& id, const QString& path, bool isFile)
{
    Node* folder = add(id, QFileInfo(path).fileName(), FolderKind);
    folder->path = path;
    folder->isFile = isFile;
    const QString nameFile = joined(path, QStringLiteral("displayname"));
    if (!isFile && readCapped(nameFile, &folder->nameFile)) {
        folder->nameFileExisted = true;
        const QString text = VCardText::DecodeText(folder->nameFile, {}, fallbackCharset_);
        const QString name = CleanText(text.section(QLatin1Char('\n'), 0, 0).section(QLatin1Char('\r'), 0, 0));
        if (!name.isEmpty())
            folder->entry.Name = name;
    }
    if (id == QLatin1String("."))
        fixed_ = folder;
    root_->subFolders.push_back(folder);
}

void AddressBook::read(Node* folder)
{
    if (folder->read)
        return;
    folder->read = true;
    const QStringList names = folder->isFile ? QStringList{QString()} : cardFiles(folder->path);
    for (const QString& name : names) {
        files_.push_back(CardFile{folder->isFile ? folder->path : joined(folder->path, name)});
        readFile(folder, int(files_.size()) - 1);
    }
    collectGroups(folder);
}

void AddressBook::readFile(Node* folder, int file)
{
    CardFile& cardFile = files_[file];
    QByteArray data;
    if (!readCapped(cardFile.path, &data))
        return;
    cardFile.size = data.size();
    cardFile.hash = qHash(data);
    const QList<VCard> cards = ReadCards(VCardText::Normalized(data, &cardFile.form), fallbackCharset_);
    const QString prefix = folder->entry.Id + QLatin1Char('/') + QFileInfo(cardFile.path).fileName() + QLatin1Char('#');
    for (int i = 0; i < cards.size(); ++i) {
        const VCard& card = cards[i];
        const bool group = IsGroupCard(card);
        Node* entry = add(prefix + QString::number(i), CardName(card), group ? GroupKind : ContactKind);
        entry->file = file;
        entry->card = i;
        entry->uid = CardUid(card);
        if (group) {
            entry->groupCard = card;
            entry->members = CardMembers(card);
        } else {
            entry->entry.Texts = MapCard(card);
            entry->entry.Listed = std::any_of(entry->entry.Texts.begin(), entry->entry.Texts.end(),
                                              [](const QString& text) { return !text.isEmpty(); });
            entry->categories = CardCategories(card);
        }
        folder->contacts.push_back(entry);
    }
}

void AddressBook::collectGroups(Node* folder)
{
    QHash<QString, Node*> categories;
    for (Node* contact : folder->contacts) {
        for (const QString& category : contact->categories) {
            Node*& group = categories[category.toLower()];
            if (!group) {
                group = add(folder->entry.Id + QStringLiteral("//") + category, category, GroupKind);
                group->category = true;
                folder->groups.push_back(group);
            }
            if (group->contacts.empty() || group->contacts.back() != contact)
                group->contacts.push_back(contact);
        }
    }
    for (Node* card : folder->contacts) {
        if (card->entry.Kind != GroupKind)
            continue;
        const QSet<QString> members(card->members.begin(), card->members.end());
        for (Node* contact : folder->contacts) {
            if (!contact->uid.isEmpty() && members.contains(contact->uid))
                card->contacts.push_back(contact);
        }
        folder->groups.push_back(card);
    }
    std::stable_sort(folder->groups.begin(), folder->groups.end(),
                     [](const Node* a, const Node* b) { return byName(a->entry.Name, b->entry.Name); });
}

const AddressBook::Entry& AddressBook::Root() const { return root_->entry; }

const AddressBook::Entry* AddressBook::FixedFolder() const { return fixed_ ? &fixed_->entry : nullptr; }

const AddressBook::Entry* AddressBook::LookUp(const QString& id)
{
    if (Node* found = node(id))
        return &found->entry;
    // A group or a card: its folder's cards may not have been read yet.
    const qsizetype slash = id.indexOf(QLatin1Char('/'));
    Node* folder = slash > 0 ? node(id.left(slash)) : nullptr;
    if (!folder || folder->entry.Kind != FolderKind || folder->read)
        return nullptr;
    read(folder);
    Node* found = node(id);
    return found ? &found->entry : nullptr;
}

QList<const AddressBook::Entry*> AddressBook::SubFolders(const Entry& folder) const
{
    QList<const Entry*> entries;
    if (Node* found = node(folder.Id)) {
        for (const Node* sub : found->subFolders)
            entries.append(&sub->entry);
    }
    return entries;
}

QList<const AddressBook::Entry*> AddressBook::Groups(const Entry& folder)
{
    QList<const Entry*> entries;
    Node* found = node(folder.Id);
    if (!found || found->entry.Kind != FolderKind || found == root_)
        return entries;
    read(found);
    for (const Node* group : found->groups)
        entries.append(&group->entry);
    return entries;
}

QList<const AddressBook::Entry*> AddressBook::Contacts(const Entry& entry)
{
    QList<const Entry*> entries;
    Node* found = node(entry.Id);
    if (!found || found == root_)
        return entries;
    if (found->entry.Kind == FolderKind)
        read(found);
    for (const Node* contact : found->contacts)
        entries.append(&contact->entry);
    return entries;
}

bool AddressBook::CanRename(const Entry& entry) const
{
    const Node* found = node(entry.Id);
    if (!found)
        return false;
    if (found->entry.Kind == FolderKind)
        return found != root_ && found != fixed_;
    return found->entry.Kind == GroupKind && !found->category;
}
