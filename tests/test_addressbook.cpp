// The address book over vCard files: folders, groups, identifiers and listing of
// a vdir, a folder and a file; renaming a folder or a group card.

#include "vcard_fixtures.h"

#include "core/SourceText.h"
#include "platform/AddressBook.h"
#include "platform/FileSystem.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using Entry = AddressBook::Entry;
using SaveResult = AddressBook::SaveResult;

class AddressBookTest : public ::testing::Test {
protected:
    void SetUp() override { Fixtures::WriteVdir(root()); }
    void TearDown() override { FileSystem::SetAtomicWriteFailsBeforeRename(false); }

    QString root() const { return env.Root() + s("/data/contacts"); }

    static QStringList names(const QList<const Entry*>& entries)
    {
        QStringList list;
        for (const Entry* entry : entries)
            list.append(entry->Name);
        return list;
    }
    static QStringList ids(const QList<const Entry*>& entries)
    {
        QStringList list;
        for (const Entry* entry : entries)
            list.append(entry->Id);
        return list;
    }

    // Every regular file under the source with the hash of its bytes.
    QMap<QString, QByteArray> hashes() const
    {
        QMap<QString, QByteArray> result;
        QDirIterator it(root(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (QFileInfo(path).isFile())
                result[path] = QCryptographicHash::hash(ReadFile(path), QCryptographicHash::Sha256);
        }
        return result;
    }

    TestEnv env;
};

TEST_F(AddressBookTest, VdirFoldersGroupsAndContacts)
{
    AddressBook book(AddressBook::DefaultSource(), "windows-1252");
    EXPECT_EQ(book.FixedFolder(), nullptr);
    const QList<const Entry*> folders = book.SubFolders(book.Root());
    EXPECT_EQ(names(folders), (QStringList{s("work"), s("Семья")}));
    EXPECT_EQ(ids(folders), (QStringList{s("work"), s("family")}));

    const Entry& family = *folders[1];
    EXPECT_EQ(ids(book.Contacts(family)),
              (QStringList{s("family/ivan.vcf#0"), s("family/ivan.vcf#1"), s("family/olga.VCARD#0")}));
    EXPECT_TRUE(book.Groups(family).isEmpty());

    const Entry& work = *folders[0];
    const QList<const Entry*> contacts = book.Contacts(work);
    EXPECT_EQ(ids(contacts), (QStringList{s("work/anna.vcf#0"), s("work/X.VCF#0"), s("work/X.VCF#1"),
                                          s("work/X.VCF#2")}));
    EXPECT_EQ(contacts[2]->Kind, AddressBook::GroupKind);
    EXPECT_FALSE(contacts[2]->Listed);
    EXPECT_TRUE(contacts[1]->Listed);
    EXPECT_EQ(contacts[1]->Texts[GivenName], s("John"));

    const QList<const Entry*> groups = book.Groups(work);
    EXPECT_EQ(names(groups), (QStringList{s("Friends,Family"), s("Tennis partners"), s("Work")}));
    EXPECT_EQ(names(book.Contacts(*groups[1])), QStringList{s("John Appleseed")});
    EXPECT_EQ(names(book.Contacts(*groups[2])), (QStringList{s("John Appleseed"), s("Jane Baker")}));

    AddressBook fresh(AddressBook::DefaultSource(), "windows-1252");
    const Entry* card = fresh.LookUp(s("family/ivan.vcf#1"));
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->Texts[HomePhone], s("112"));
    for (const char* unknown : {"nope", "family/../work/X.VCF#0", "work/X.VCF#9", "work/"})
        EXPECT_EQ(fresh.LookUp(s(unknown)), nullptr) << unknown;
}

TEST_F(AddressBookTest, FolderFileAndMissingSources)
{
    Fixtures::writeFile(root() + s("/loose.vcf"), Fixtures::Modern40());
    AddressBook withCards(root(), "windows-1252");
    ASSERT_NE(withCards.FixedFolder(), nullptr);
    EXPECT_EQ(names(withCards.SubFolders(withCards.Root())), (QStringList{s("contacts"), s("work"), s("Семья")}));
    EXPECT_EQ(names(withCards.Contacts(*withCards.FixedFolder())), (QStringList{s("Renée Müller"), s("Book club")}));

    AddressBook file(root() + s("/work/X.VCF"), "windows-1252");
    EXPECT_EQ(names(file.SubFolders(file.Root())), QStringList{s("X.VCF")});
    EXPECT_EQ(file.Contacts(*file.FixedFolder()).size(), 3);
    EXPECT_EQ(ids(file.Groups(*file.FixedFolder())), (QStringList{s(".//Friends,Family"), s("./X.VCF#1"), s(".//Work")}));

    AddressBook missing(root() + s("/none"), "windows-1252");
    ASSERT_NE(missing.FixedFolder(), nullptr);
    EXPECT_TRUE(missing.Contacts(*missing.FixedFolder()).isEmpty());

    // A file over the limit is not read, whatever it holds (a sparse file here).
    QFile large(root() + s("/large.vcf"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.write(Fixtures::Modern40()) > 0);
    ASSERT_TRUE(large.resize(AddressBook::MaxFileSize + 1));
    large.close();
    // More categories than a folder makes groups of, on cards of as many as a card gives.
    QByteArray categories;
    for (int i = 0; i <= AddressBook::MaxGroups; ++i) {
        if (i % MaxCardCategories == 0)
            categories += QByteArray(i > 0 ? "\r\nEND:VCARD\r\n" : "") + "BEGIN:VCARD\r\nFN:c\r\nCATEGORIES:";
        categories += 'c' + QByteArray::number(i) + ',';
    }
    Fixtures::writeFile(root() + s("/groups.vcf"), categories + "\r\nEND:VCARD\r\n");
    Fixtures::writeFile(root() + s("/nested.vcf"),
                        Fixtures::crlf("BEGIN:VCARD\nFN:Outer\nBEGIN:VCARD\nFN:Inner\nEND:VCARD\nEND:VCARD\n"));
    const struct {
        const char* file;
        bool holdsCard;
        bool tooLarge;
        bool cut;
    } files[] = {{"/loose.vcf", true, false, false},
                 {"/family/displayname", false, false, false},
                 {"/work/pipe.vcf", false, false, false},
                 {"/large.vcf", false, true, false},
                 {"/groups.vcf", true, false, true},
                 {"/nested.vcf", true, false, false}};
    for (const auto& f : files) {
        AddressBook book(root() + s(f.file), "windows-1252");
        EXPECT_EQ(book.TooLarge(), f.tooLarge) << f.file;
        EXPECT_EQ(book.HoldsReadableCard(), f.holdsCard) << f.file;
        EXPECT_EQ(book.CutCards(), f.cut) << f.file;
    }
    AddressBook groups(root() + s("/groups.vcf"), "windows-1252");
    EXPECT_EQ(groups.Groups(*groups.FixedFolder()).size(), AddressBook::MaxGroups);
    // A card around another comes first, as it begins first.
    AddressBook nested(root() + s("/nested.vcf"), "windows-1252");
    EXPECT_EQ(names(nested.Contacts(*nested.FixedFolder())), (QStringList{s("Outer"), s("Inner")}));
    EXPECT_EQ(nested.LookUp(s("./nested.vcf#1"))->Name, s("Inner"));
}

TEST_F(AddressBookTest, RenamesWriteOnlyTheNameLines)
{
    Fixtures::writeFile(root() + s("/work/modern.vcf"), Fixtures::Modern40());
    Fixtures::writeFile(root() + s("/work/phone.vcf"),
                        Fixtures::crlf("BEGIN:VCARD\nVERSION:2.1\nN:Old;;;;\nFN:Old\nX-ADDRESSBOOKSERVER-KIND:group\n"
                                       "END:VCARD\n"));
    // A group card with folded heads around a contact card, and another group after it.
    const QByteArray folded = Fixtures::crlf("BEGIN:VCARD\nVERSION:3.0\nF\n N:Old\nN;LANG\n UAGE=en:Old;;;;\n"
                                             "BEGIN:VCARD\nVERSION:3.0\nFN:Old\nN:Old;;;;\nEND:VCARD\n"
                                             "X-ADDRESSBOOKSERVER-KI\n\tND:group\nEND:VCARD\n"
                                             "BEGIN:VCARD\nVERSION:3.0\nFN:Old\nKIND:group\nEND:VCARD\n");
    Fixtures::writeFile(root() + s("/work/folded.vcf"), folded);
    const QString apple = root() + s("/work/X.VCF");
    ::chmod(QFile::encodeName(apple).constData(), 0600);
    const QMap<QString, QByteArray> before = hashes();
    AddressBook book(AddressBook::DefaultSource(), "windows-1252");
    book.Contacts(*book.LookUp(s("work")));

    const struct {
        const char* id;
        const char* name;
        const char* file;
        QByteArray expected;
    } cases[] = {
        {"family", " Родные ", "family/displayname", QByteArray("Родные\nsecond line\n")},
        {"work", "Office", "work/displayname", QByteArray("Office\n")},
        {"work/X.VCF#1", "Squash, club", "work/X.VCF",
         Fixtures::Apple30()
             .replace("FN:Tennis partners\r\n", "FN:Squash\\, club\r\n")
             .replace("N:Tennis partners;;;;\r\n", "N:Squash\\, club;;;;\r\n")},
        {"work/modern.vcf#1", "Читатели", "work/modern.vcf",
         Fixtures::Modern40().replace("FN:Book club", "FN:Читатели")},
        {"work/folded.vcf#0", "Readers", "work/folded.vcf",
         QByteArray(folded).replace("F\r\n N:Old\r\nN;LANG\r\n UAGE=en:Old;;;;\r\n",
                                    "FN:Readers\r\nN;LANGUAGE=en:Readers;;;;\r\n")},
        {"work/phone.vcf#0", "Коллеги", "work/phone.vcf",
         Fixtures::crlf("BEGIN:VCARD\nVERSION:2.1\n"
                        "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D0=9A=D0=BE=D0=BB=D0=BB=D0=B5=D0=\n=B3=D0=B8;;;;\n"
                        "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D0=9A=D0=BE=D0=BB=D0=BB=D0=B5=\n=D0=B3=D0=B8\n"
                        "X-ADDRESSBOOKSERVER-KIND:group\nEND:VCARD\n")},
    };
    QMap<QString, QByteArray> expectedHashes = before;
    for (const auto& c : cases) {
        EXPECT_EQ(book.SetNameAndSave(s(c.id), s(c.name)), SaveResult::Saved) << c.id;
        EXPECT_EQ(ReadFile(root() + s("/") + s(c.file)), c.expected) << c.id;
        EXPECT_EQ(book.LookUp(s(c.id))->Name, s(c.name).trimmed());
        expectedHashes[root() + s("/") + s(c.file)] =
            QCryptographicHash::hash(c.expected, QCryptographicHash::Sha256);
    }
    EXPECT_EQ(hashes(), expectedHashes);
    struct stat info {};
    ::stat(QFile::encodeName(apple).constData(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    AddressBook reread(AddressBook::DefaultSource(), "windows-1252");
    EXPECT_EQ(names(reread.SubFolders(reread.Root())), (QStringList{s("Office"), s("Родные")}));
    const Entry* squash = reread.LookUp(s("work/X.VCF#1"));
    EXPECT_EQ(squash->Name, s("Squash, club"));
    EXPECT_EQ(names(reread.Contacts(*squash)), QStringList{s("John Appleseed")});
    EXPECT_EQ(reread.LookUp(s("work/phone.vcf#0"))->Name, s("Коллеги"));
}

TEST_F(AddressBookTest, RefusedRenamesKeepEverything)
{
    Fixtures::writeFile(root() + s("/loose.vcf"), Fixtures::Modern40());
    const QString apple = root() + s("/work/X.VCF");
    const struct {
        const char* id;
        const char* name;
        std::function<void()> before;
        SaveResult result;
    } cases[] = {
        {".", "Mine", [] {}, SaveResult::NotRenamable},
        {"work//Work", "Job", [] {}, SaveResult::NotRenamable},
        {"work/X.VCF#0", "John", [] {}, SaveResult::NotRenamable},
        {"nowhere", "x", [] {}, SaveResult::NotFound},
        {"work/X.VCF#1", " \t ", [] {}, SaveResult::EmptyName},
        {"work/X.VCF#1", "Squash", [&] { Fixtures::writeFile(apple, Fixtures::Apple30() + "\r\n"); },
         SaveResult::ChangedSinceRead},
        {"family", "Kin", [&] { Fixtures::writeFile(root() + s("/family/displayname"), "Other\n"); },
         SaveResult::ChangedSinceRead},
        {"work/X.VCF#1", "Squash", [&] { ::chmod(QFile::encodeName(apple).constData(), 0444); },
         SaveResult::WriteProtected},
        {"work/X.VCF#1", "Squash", [] { FileSystem::SetAtomicWriteFailsBeforeRename(true); },
         SaveResult::WriteFailed},
    };
    for (const auto& c : cases) {
        AddressBook book(root(), "windows-1252");
        const Entry* entry = book.LookUp(s(c.id));
        const QString oldName = entry ? entry->Name : QString();
        c.before();
        const QMap<QString, QByteArray> before = hashes();
        EXPECT_EQ(book.SetNameAndSave(s(c.id), s(c.name)), c.result) << c.id;
        EXPECT_EQ(hashes(), before) << c.id;
        if (entry) {
            EXPECT_EQ(book.LookUp(s(c.id))->Name, oldName) << c.id;
        }
        FileSystem::SetAtomicWriteFailsBeforeRename(false);
        ::chmod(QFile::encodeName(apple).constData(), 0644);
    }
}

}  // namespace
