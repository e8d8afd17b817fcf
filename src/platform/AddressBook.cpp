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

constexpr int MaskBytes = (ContactTextCount + 7) / 8;

bool given(const QByteArray& block, int text) { return uchar(block[text / 8]) & (1 << (text % 8)); }

}  // namespace

// Allocated once at its size: a block is kept as long as the book, and a shrunk
// one would leave the allocator a gap per contact.
AddressBook::TextBlock::TextBlock(const ContactTexts& texts)
{
    std::array<QByteArray, ContactTextCount> wide;  // the texts that are not ASCII
    qsizetype size = 0;
    for (int i = 0; i < ContactTextCount; ++i) {
        const QString& text = texts[i];
        if (text.isEmpty())
            continue;
        if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
            size += text.size() + 1;
        else
            size += (wide[i] = text.toUtf8()).size() + 1;
    }
    if (size == 0)
        return;
    block_ = QByteArray(MaskBytes + size, '\0');
    char* out = block_.data() + MaskBytes;
    for (int i = 0; i < ContactTextCount; ++i) {
        if (texts[i].isEmpty())
            continue;
        block_[i / 8] = char(uchar(block_[i / 8]) | (1 << (i % 8)));
        if (!wide[i].isEmpty())
            out = std::copy(wide[i].begin(), wide[i].end(), out);
        else
            out = std::transform(texts[i].begin(), texts[i].end(), out, [](QChar c) { return char(c.unicode()); });
        *out++ = '\0';
    }
}

QString AddressBook::TextBlock::operator[](ContactText text) const
{
    if (block_.isEmpty() || !given(block_, text))
        return {};
    qsizetype start = MaskBytes;
    for (int i = 0; i < text; ++i) {
        if (given(block_, i))
            start = block_.indexOf('\0', start) + 1;
    }
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
    if (nodeCount_ == nodes_.size() * NodeBlock)
        nodes_.push_back(std::make_unique<Node[]>(NodeBlock));
    Node* node = &nodes_.back()[nodeCount_++ % NodeBlock];
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
    const std::span<Node* const> cards = files_[*file].Cards();
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
    FolderReading reading;
    for (const QString& name : names) {
        const QString path = contents.isFile ? contents.path : joined(contents.path, name);
        const int file = int(files_.size());
        files_.emplace_back();
        files_[file].path = path;
        files_[file].name = QFileInfo(path).fileName();
        contents.files.push_back(file);
        contents.fileByName.insert(files_[file].name, file);
        readFile(folder, file, reading);
    }
    collectGroups(folder, reading);
}

// A folder's cards in the order of its files and of their places there.
bool AddressBook::byPosition(const Node* a, const Node* b)
{
    return a->file != b->file ? a->file < b->file : a->card < b->card;
}

void AddressBook::readFile(Node* folder, int file, FolderReading& reading)
{
    CardFile& cardFile = files_[file];
    std::vector<Node*>& contacts = folder->contents->contacts;
    cardFile.folder = folder;
    cardFile.first = contacts.size();
    QByteArray data;
    if (!readCapped(cardFile.path, &data))
        return;
    cardFile.size = data.size();
    cardFile.hash = qHash(data);
    const bool whole = ReadCards(VCardText::Normalized(data, &cardFile.form), fallbackCharset_, [&](VCard& card) {
        const bool groupCard = IsGroupCard(card);
        const bool group = groupCard && reading.groups < MaxGroups;
        cut_ = cut_ || (groupCard && !group);
        QString name;
        const ContactTexts texts = groupCard ? ContactTexts() : MapCard(card, &name);
        Node* entry = add(QString(), group ? CardName(card) : name, group ? GroupKind : ContactKind);
        entry->file = file;
        entry->card = card.order;  // its position once the file's cards are in order
        if (QString uid = CardUid(card); !uid.isEmpty())
            reading.uids.emplace_back(std::move(uid), entry);
        if (group) {
            ++reading.groups;
            if (QStringList members = CardMembers(card); !members.isEmpty())
                reading.members.emplace_back(entry, std::move(members));
            entry->contents->groupCard = RenameLines(std::move(card));
        } else if (!groupCard) {
            entry->entry.Texts = TextBlock(texts);
            entry->entry.Listed = !entry->entry.Texts.IsEmpty();
            bool cut = false;
            addToCategories(folder, entry, CardCategories(card, &cut), reading);
            cut_ = cut_ || cut;
        }
        contacts.push_back(entry);
    });
    cut_ = cut_ || !whole;
    // A card around another ends after it.
    const auto cards = contacts.begin() + qsizetype(cardFile.first);
    if (!std::is_sorted(cards, contacts.end(), byPosition))
        std::sort(cards, contacts.end(), byPosition);
    cardFile.count = contacts.size() - cardFile.first;
    const QString prefix = folder->entry.Id + QLatin1Char('/') + cardFile.name + QLatin1Char('#');
    for (int position = 0; position < int(cardFile.count); ++position) {
        const QString number = QString::number(position);
        QString& id = cards[position]->entry.Id;
        id.reserve(prefix.size() + number.size());  // exact, as it is kept
        id.append(prefix).append(number);
        cards[position]->card = position;
    }
}

void AddressBook::addToCategories(Node* folder, Node* card, const QStringList& categories, FolderReading& reading)
{
    for (const QString& category : categories) {
        const QString key = category.toLower();
        auto found = reading.categories.find(key);
        if (found == reading.categories.end()) {
            if (reading.groups == MaxGroups) {
                cut_ = true;
                continue;
            }
            ++reading.groups;
            Node* group = add(folder->entry.Id + QStringLiteral("//") + category, category, GroupKind);
            byId_.insert(group->entry.Id, group);
            folder->contents->groups.push_back(group);
            found = reading.categories.insert(key, group);
        }
        std::vector<Node*>& members = (*found)->contents->contacts;
        if (members.empty() || members.back() != card)
            members.push_back(card);
    }
}

// A group card lists the cards of the folder whose UIDs it names, in the folder's order.
void AddressBook::collectGroups(Node* folder, FolderReading& reading)
{
    std::vector<Node*>& groups = folder->contents->groups;
    for (Node* group : groups) {
        std::vector<Node*>& members = group->contents->contacts;
        if (!std::is_sorted(members.begin(), members.end(), byPosition))
            std::sort(members.begin(), members.end(), byPosition);
    }
    if (!reading.members.empty()) {
        std::vector<std::pair<QString, Node*>>& uids = reading.uids;
        auto byUid = [](const std::pair<QString, Node*>& a, const std::pair<QString, Node*>& b) {
            return a.first < b.first;
        };
        std::sort(uids.begin(), uids.end(), byUid);
        for (auto& [group, names] : reading.members) {
            std::sort(names.begin(), names.end());
            names.erase(std::unique(names.begin(), names.end()), names.end());
            std::vector<Node*>& members = group->contents->contacts;
            for (const QString& name : names) {
                const std::pair<QString, Node*> key(name, nullptr);
                auto match = std::lower_bound(uids.begin(), uids.end(), key, byUid);
                for (; match != uids.end() && match->first == name; ++match)
                    members.push_back(match->second);
            }
            std::sort(members.begin(), members.end(), byPosition);
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
    return found->entry.Kind == GroupKind && !found->IsCategory();
}
