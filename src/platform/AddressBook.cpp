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

// Allocated once at its size: a block is kept as long as the book, and a shrunk
// one would leave the allocator a gap per contact.
AddressBook::TextBlock::TextBlock(const ContactTexts& texts)
{
    std::array<QByteArray, ContactTextCount> wide;  // the texts that are not ASCII
    qsizetype size = 0;
    for (int i = 0; i < ContactTextCount; ++i) {
        const QString& text = texts[i];
        if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
            size += text.size();
        else
            size += (wide[i] = text.toUtf8()).size();
    }
    if (size == 0)
        return;
    block_ = QByteArray(size + ContactTextCount, Qt::Uninitialized);
    char* out = block_.data();
    for (int i = 0; i < ContactTextCount; ++i) {
        if (!wide[i].isEmpty())
            out = std::copy(wide[i].begin(), wide[i].end(), out);
        else
            out = std::transform(texts[i].begin(), texts[i].end(), out, [](QChar c) { return char(c.unicode()); });
        *out++ = '\0';
    }
}

QString AddressBook::TextBlock::operator[](ContactText text) const
{
    if (block_.isEmpty())
        return {};
    qsizetype start = 0;
    for (int i = 0; i < text; ++i)
        start = block_.indexOf('\0', start) + 1;
    return QString::fromUtf8(block_.constData() + start, block_.indexOf('\0', start) - start);
}

AddressBook::AddressBook(const QString& source, const QByteArray& fallbackCharset)
    : source_(source)
    , fallbackCharset_(fallbackCharset)
{
    root_ = add(QStringLiteral("/"), QFileInfo(source).fileName(), FolderKind);
    byId_.insert(root_->entry.Id, root_);
    root_->contents->path = source;
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
    std::vector<Node*>& folders = root_->contents->subFolders;
    std::stable_sort(folders.begin() + (fixed_ ? 1 : 0), folders.end(),
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

bool AddressBook::HoldsReadableCard()
{
    if (!fixed_ || !fixed_->contents->isFile)
        return false;
    read(fixed_);
    return !fixed_->contents->contacts.empty();
}

bool AddressBook::TooLarge() const
{
    const QFileInfo info(source_);
    return info.isFile() && info.size() > MaxFileSize;
}

AddressBook::Node* AddressBook::add(const QString& id, const QString& name, int kind)
{
    Node* node = &nodes_.emplace_back();
    node->entry.Id = id;
    node->entry.Name = name;
    node->entry.Kind = kind;
    if (kind != ContactKind)
        node->contents = std::make_unique<Contents>();
    return node;
}

// A card's identifier is its folder's, "/", its file's name, "#" and its position.
AddressBook::Node* AddressBook::node(const QString& id) const
{
    if (Node* found = byId_.value(id))
        return found;
    const qsizetype slash = id.indexOf(QLatin1Char('/'));
    const qsizetype hash = id.lastIndexOf(QLatin1Char('#'));
    Node* folder = slash > 0 && hash > slash ? byId_.value(id.left(slash)) : nullptr;
    if (!folder || folder->entry.Kind != FolderKind)
        return nullptr;
    const auto file = folder->contents->fileByName.constFind(id.mid(slash + 1, hash - slash - 1));
    if (file == folder->contents->fileByName.constEnd())
        return nullptr;
    bool number = false;
    const int position = id.mid(hash + 1).toInt(&number);
    const std::vector<Node*>& cards = files_[*file].cards;
    if (!number || position < 0 || position >= int(cards.size()) || cards[position]->entry.Id != id)
        return nullptr;
    return cards[position];
}

void AddressBook::addFolder(const QString& id, const QString& path, bool isFile)
{
    Node* folder = add(id, QFileInfo(path).fileName(), FolderKind);
    byId_.insert(id, folder);
    Contents& contents = *folder->contents;
    contents.path = path;
    contents.isFile = isFile;
    const QString nameFile = joined(path, QStringLiteral("displayname"));
    if (!isFile && readCapped(nameFile, &contents.nameFile)) {
        contents.nameFileExisted = true;
        const QString text = VCardText::DecodeText(contents.nameFile, {}, fallbackCharset_);
        const QString name = CleanText(text.section(QLatin1Char('\n'), 0, 0).section(QLatin1Char('\r'), 0, 0));
        if (!name.isEmpty())
            folder->entry.Name = name;
    }
    if (id == QLatin1String("."))
        fixed_ = folder;
    root_->contents->subFolders.push_back(folder);
}

void AddressBook::read(Node* folder)
{
    Contents& contents = *folder->contents;
    if (contents.read)
        return;
    contents.read = true;
    const QStringList names = contents.isFile ? QStringList{QString()} : cardFiles(contents.path);
    std::vector<CardLinks> links;
    for (const QString& name : names) {
        const QString path = contents.isFile ? contents.path : joined(contents.path, name);
        const int file = int(files_.size());
        files_.emplace_back();
        files_[file].path = path;
        files_[file].name = QFileInfo(path).fileName();
        contents.files.push_back(file);
        contents.fileByName.insert(files_[file].name, file);
        readFile(folder, file, &links);
    }
    collectGroups(folder, links);
}

void AddressBook::readFile(Node* folder, int file, std::vector<CardLinks>* links)
{
    CardFile& cardFile = files_[file];
    QByteArray data;
    if (!readCapped(cardFile.path, &data))
        return;
    cardFile.size = data.size();
    cardFile.hash = qHash(data);
    const QString prefix = folder->entry.Id + QLatin1Char('/') + cardFile.name + QLatin1Char('#');
    ReadCards(VCardText::Normalized(data, &cardFile.form), fallbackCharset_, [&](VCard& card) {
        const bool group = IsGroupCard(card);
        QString name;
        const ContactTexts texts = group ? ContactTexts() : MapCard(card, &name);
        const QString position = QString::number(cardFile.cards.size());
        QString id;
        id.reserve(prefix.size() + position.size());  // exact, as it is kept
        id.append(prefix).append(position);
        Node* entry = add(id, group ? CardName(card) : name, group ? GroupKind : ContactKind);
        entry->file = file;
        entry->card = int(cardFile.cards.size());
        CardLinks link{entry, CardUid(card), {}, {}};
        if (group) {
            link.members = CardMembers(card);
            entry->contents->groupCard = std::move(card);
        } else {
            entry->entry.Texts = TextBlock(texts);
            entry->entry.Listed = !entry->entry.Texts.IsEmpty();
            link.categories = CardCategories(card);
        }
        if (!link.uid.isEmpty() || !link.members.isEmpty() || !link.categories.isEmpty())
            links->push_back(std::move(link));
        cardFile.cards.push_back(entry);
        folder->contents->contacts.push_back(entry);
    });
}

void AddressBook::collectGroups(Node* folder, std::vector<CardLinks>& links)
{
    std::vector<Node*>& groups = folder->contents->groups;
    QHash<QString, Node*> categories;
    for (const CardLinks& link : links) {
        for (const QString& category : link.categories) {
            Node*& group = categories[category.toLower()];
            if (!group) {
                group = add(folder->entry.Id + QStringLiteral("//") + category, category, GroupKind);
                byId_.insert(group->entry.Id, group);
                group->category = true;
                groups.push_back(group);
            }
            std::vector<Node*>& members = group->contents->contacts;
            if (members.empty() || members.back() != link.card)
                members.push_back(link.card);
        }
    }
    for (const CardLinks& link : links) {
        if (link.card->entry.Kind != GroupKind)
            continue;
        const QSet<QString> members(link.members.begin(), link.members.end());
        for (const CardLinks& contact : links) {
            if (!contact.uid.isEmpty() && members.contains(contact.uid))
                link.card->contents->contacts.push_back(contact.card);
        }
    }
    for (Node* card : folder->contents->contacts) {
        if (card->entry.Kind == GroupKind)
            groups.push_back(card);
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [](const Node* a, const Node* b) { return byName(a->entry.Name, b->entry.Name); });
}

const AddressBook::Entry& AddressBook::Root() const { return root_->entry; }

const AddressBook::Entry* AddressBook::FixedFolder() const { return fixed_ ? &fixed_->entry : nullptr; }

const AddressBook::Entry* AddressBook::LookUp(const QString& id)
{
    if (Node* found = node(id))
        return &found->entry;
    // A group or a card: its folder's cards may not have been read yet.
    Node* folder = byId_.value(id.left(id.indexOf(QLatin1Char('/'))));
    if (!folder || folder == root_ || folder->contents->read)
        return nullptr;
    read(folder);
    Node* found = node(id);
    return found ? &found->entry : nullptr;
}

QList<const AddressBook::Entry*> AddressBook::SubFolders(const Entry& folder) const
{
    QList<const Entry*> entries;
    Node* found = node(folder.Id);
    if (found && found->entry.Kind == FolderKind) {
        for (const Node* sub : found->contents->subFolders)
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
    for (const Node* group : found->contents->groups)
        entries.append(&group->entry);
    return entries;
}

QList<const AddressBook::Entry*> AddressBook::Contacts(const Entry& entry)
{
    QList<const Entry*> entries;
    Node* found = node(entry.Id);
    if (!found || found == root_ || !found->contents)
        return entries;
    if (found->entry.Kind == FolderKind)
        read(found);
    entries.reserve(qsizetype(found->contents->contacts.size()));
    for (const Node* contact : found->contents->contacts)
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
