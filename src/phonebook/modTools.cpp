#include "modTools.h"

#include "frmWAB.h"
#include "core/Options.h"
#include "core/frmProcess.h"

#include <QSignalBlocker>
#include <QTreeWidget>

#include <memory>

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

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

void fillColumns(const ContactTexts& t, std::array<QString, 23>& c)
{
    c[1] = t[GivenName];
    c[2] = t[FamilyName];
    c[3] = t[AdditionalNames];
    c[4] = t[MobilePhone];
    c[5] = t[HomePhone];
    c[6] = t[HomeCountry];
    c[7] = t[HomeRegion];
    c[8] = t[HomeCity];
    c[9] = t[HomePostalCode];
    c[10] = t[HomeFax];
    c[11] = t[HomeStreet];
    c[12] = t[Email];
    c[13] = t[SecondEmail];
    c[14] = t[WebAddress];
    c[15] = t[Company];
    c[16] = t[JobTitle];
    c[17] = joined(t[WorkCountry], t[WorkRegion]);
    c[18] = t[WorkCity];
    c[19] = joined(t[WorkStreet], t[WorkPostalCode]);
    c[20] = t[WorkPhone];
    c[21] = t[WorkFax];
    c[22] = t[Notes];
}

}  // namespace

void ContactTable::Clear()
{
    Rows.clear();
    Keys.clear();
}

void InitAddressBook()
{
    moduleBook = std::make_unique<AddressBook>(Forms::Get<frmWAB>().Source, CardFallbackCharset());
    moduleRoot = &moduleBook->Root();
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
    const QString generalGroup = GetLangText(s("mes278"));
    QList<QTreeWidgetItem*> items;
    for (const AddressBook::Entry* contact : moduleBook->Contacts(*entry)) {
        if (!contact || !contact->Listed)
            continue;
        ContactRow row;
        row.Key = MakeItemKey(*contact, table);
        row.Columns[0] = generalGroup;
        fillColumns(contact->Texts, row.Columns);
        items.append(new QTreeWidgetItem({row.Columns[1], row.Columns[2], row.Columns[4], row.Columns[5]}));
        table.Keys.insert(row.Key);
        table.Rows.append(std::move(row));
    }
    Forms::Get<frmWAB>().ListView1->addTopLevelItems(items);
}

QString KeyId(const QString& key) { return key.mid(1); }

QString MakeItemKey(const AddressBook::Entry& entry, const ContactTable& table)
{
    QString letter;
    if (entry.Kind == AddressBook::ContactKind)
        letter = s("C");
    else if (entry.Kind == AddressBook::FolderKind)
        letter = s("F");
    else if (entry.Kind == AddressBook::GroupKind)
        letter = s("G");
    const QString stem = letter + entry.Id + s("&");
    for (int counter = 0;; ++counter) {
        const QString key = stem + QString::number(counter);
        if (!table.Keys.contains(key))
            return key;
    }
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
