#include "modTools.h"

#include "core/SourceText.h"
#include "frmWAB.h"
#include "core/Options.h"
#include "core/frmProcess.h"

#include <QSignalBlocker>
#include <QTreeWidget>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int KeyRole = Qt::UserRole;
constexpr int SavedNameRole = Qt::UserRole + 1;

std::unique_ptr<AddressBook> moduleBook;
const AddressBook::Entry* moduleRoot = nullptr;

QTreeWidgetItem* makeNode(QTreeWidgetItem* node, const QString& key, const QString& name)
{
    node->setText(0, name);
    node->setData(0, KeyRole, key);
    node->setData(0, SavedNameRole, name);
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    return node;
}

// Two texts of one contact joined by a blank, which stands only between two texts.
QString joined(const QString& first, const QString& second)
{
    return first.isEmpty() || second.isEmpty() ? first + second : first + s(" ") + second;
}

// The texts of the table's columns 1 to 22; columns 17 and 19 join two.
struct ColumnTexts {
    ContactText first;
    ContactText second = ContactTextCount;
};
const ColumnTexts Columns[] = {
    {GivenName},   {FamilyName}, {AdditionalNames}, {MobilePhone}, {HomePhone},   {HomeCountry},
    {HomeRegion},  {HomeCity},   {HomePostalCode},  {HomeFax},     {HomeStreet},  {Email},
    {SecondEmail}, {WebAddress}, {Company},         {JobTitle},    {WorkCountry, WorkRegion},
    {WorkCity},    {WorkStreet, WorkPostalCode},    {WorkPhone},   {WorkFax},     {Notes},
};

// A row key without its counter: the kind's letter, the identifier and "&".
QString keyStem(const AddressBook::Entry& entry)
{
    QString letter;
    if (entry.Kind == AddressBook::ContactKind)
        letter = s("C");
    else if (entry.Kind == AddressBook::FolderKind)
        letter = s("F");
    else if (entry.Kind == AddressBook::GroupKind)
        letter = s("G");
    return letter + entry.Id + s("&");
}

// The visible list's columns: given name, surname, mobile and home phone.
constexpr int ListColumns[] = {1, 2, 4, 5};
const char* const ListHeadings[] = {"Name", "Surname", "Mobile", "Phone"};

}  // namespace

void ContactTable::Clear() { Rows.clear(); }

// Counted only when an entry is there twice: a long list keeps no count per entry.
// The book gives each entry an identifier of its own, so entries count as keys do.
void ContactTable::Fill(const QList<const AddressBook::Entry*>& contacts)
{
    Rows.clear();
    Rows.reserve(contacts.size());
    std::vector<const AddressBook::Entry*> sorted(contacts.begin(), contacts.end());
    std::sort(sorted.begin(), sorted.end());
    const bool repeats = std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();
    sorted = {};
    QHash<const AddressBook::Entry*, int> listed;
    for (const AddressBook::Entry* contact : contacts)
        Rows.append({contact, repeats ? listed[contact]++ : 0});
}

QString ContactTable::Key(int row) const
{
    return keyStem(*Rows[row].Contact) + QString::number(Rows[row].Counter);
}

QString ContactTable::Text(int row, int column) const
{
    if (column == 0)
        return GeneralGroup;
    const AddressBook::TextBlock& texts = Rows[row].Contact->Texts;
    const ColumnTexts& c = Columns[column - 1];
    return c.second == ContactTextCount ? texts[c.first] : joined(texts[c.first], texts[c.second]);
}

ContactListModel::ContactListModel(const ContactTable& table, QObject* parent)
    : QAbstractTableModel(parent)
    , table_(table)
{
}

void ContactListModel::Clear()
{
    beginResetModel();
    shown_ = 0;
    endResetModel();
}

void ContactListModel::ShowAppended()
{
    const int rows = int(table_.Rows.size());
    if (rows <= shown_)
        return;
    beginInsertRows(QModelIndex(), shown_, rows - 1);
    shown_ = rows;
    endInsertRows();
}

int ContactListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shown_; }

int ContactListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(std::size(ListColumns));
}

QVariant ContactListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= table_.Rows.size())
        return {};
    return table_.Text(index.row(), ListColumns[index.column()]);
}

QVariant ContactListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    return s(ListHeadings[section]);
}

void InitAddressBook(std::unique_ptr<AddressBook> read)
{
    moduleBook = read ? std::move(read)
                      : std::make_unique<AddressBook>(Forms::Get<frmWAB>().Source, CardFallbackCharset());
    moduleRoot = &moduleBook->Root();
}

AddressBook* ModuleAddressBook() { return moduleBook.get(); }

void ReleaseAddressBook(const AddressBook* book)
{
    if (!book || book != moduleBook.get())
        return;
    moduleRoot = nullptr;
    moduleBook.reset();
}

void FillFolderTree(QTreeWidget* tree)
{
    const QSignalBlocker blocker(tree);
    tree->clear();
    if (!moduleBook)
        return;
    const QList<const AddressBook::Entry*> folders = moduleBook->SubFolders(*moduleRoot);
    for (int position = 0; position < folders.size(); ++position) {
        const AddressBook::Entry* folder = folders[position];
        if (!folder)
            continue;
        QTreeWidgetItem* node = makeNode(new QTreeWidgetItem(tree), s("F") + folder->Id, folder->Name);
        if (position == 0)
            tree->setCurrentItem(node);
        for (const AddressBook::Entry* group : moduleBook->Groups(*folder))
            makeNode(new QTreeWidgetItem(node), s("G") + group->Id, group->Name);
    }
    tree->expandAll();
}

void FillContactList(QTreeWidgetItem* node, ContactTable& table)
{
    table.Clear();
    if (!node || !moduleBook)
        return;
    const AddressBook::Entry* entry = moduleBook->LookUp(KeyId(NodeKey(node)));
    if (!entry)
        return;
    table.GeneralGroup = GetLangText(s("mes278"));
    QList<const AddressBook::Entry*> contacts = moduleBook->Contacts(*entry);
    contacts.removeIf([](const AddressBook::Entry* contact) { return !contact || !contact->Listed; });
    table.Fill(contacts);
    Forms::Get<frmWAB>().ListModel->ShowAppended();
}

QString KeyId(const QString& key) { return key.mid(1); }

QString MakeItemKey(const AddressBook::Entry& entry, const ContactTable& table)
{
    const auto rows = std::count_if(table.Rows.begin(), table.Rows.end(), [&](const ContactRow& row) {
        return row.Contact->Kind == entry.Kind && row.Contact->Id == entry.Id;
    });
    return keyStem(entry) + QString::number(rows);
}

QString NodeKey(const QTreeWidgetItem* node) { return node ? node->data(0, KeyRole).toString() : QString(); }

QString NodeSavedName(const QTreeWidgetItem* node) { return node->data(0, SavedNameRole).toString(); }

void SetNodeName(QTreeWidgetItem* node, const QString& name)
{
    node->setText(0, name);
    node->setData(0, SavedNameRole, name);
}

QByteArray CardFallbackCharset()
{
    const QString language = Forms::Get<frmProcess>().LanguageName;
    const bool cyrillic = language == QLatin1String("Russian") || language == QLatin1String("Belorussian")
                       || language == QLatin1String("Ukrainian");
    return cyrillic ? "windows-1251" : "windows-1252";
}
