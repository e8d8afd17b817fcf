// The note-group manager: its modes, creating groups with the names it refuses,
// and deleting a group with everything in it but nothing outside it.

#include "test_notes_fixture.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

TEST_F(NotesTest, TheGroupManagerCreatesGroupsAndRefusesNamesItCannotKeep)
{
    WriteFile(NotesFolder() + s("/notes.txt"), "x");
    frmNote& note = open();
    frmNoteGroupes& groups = Forms::Get<frmNoteGroupes>();
    EXPECT_EQ(groups.windowTitle(), s("Groups"));
    // Without a group the list and Delete stay off in both modes; Create waits for a name.
    for (QRadioButton* mode : {groups.Option2, groups.Option1}) {
        mode->setChecked(true);
        EXPECT_FALSE(groups.Combo1->isEnabled());
        EXPECT_FALSE(groups.Command1->isEnabled());
        EXPECT_FALSE(groups.Command2->isEnabled());
    }
    const struct {
        QString typed;
        const char* message;
    } cases[] = {
        {s("Work"), "mes153"},        {s("  Home  "), "mes153"}, {s("WORK"), "mes155"},
        {s("NOTES.TXT"), "mes155"},   {s(".hidden"), "mes358"},  {s("a/b"), "mes358"},
        {s("../up"), "mes358"},       {QString(256, QChar(u'g')), "mes358"},
        {s("General notes"), "mes153"},
    };
    for (const auto& c : cases) {
        MsgBoxScript::Clear();
        groups.Text1Name->setText(c.typed);
        ASSERT_TRUE(groups.Command2->isEnabled());
        groups.Command2->click();
        EXPECT_EQ(messages(), QStringList{GetLangText(s(c.message))}) << c.typed.toStdString();
        if (c.message == std::string_view("mes153")) {
            EXPECT_EQ(note.ChosenGroupFolder(), NotesFolder() + s("/") + c.typed.trimmed());
        }
    }
    EXPECT_EQ(QDir(NotesFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name),
              (QStringList{s("General notes"), s("Home"), s("Work")}));
    EXPECT_FALSE(FileSystem::Exists(QFileInfo(NotesFolder()).path() + s("/up")));
    // The list came on with the first group, though create mode is still chosen.
    EXPECT_TRUE(groups.Option1->isChecked());
    EXPECT_TRUE(groups.Combo1->isEnabled());
    EXPECT_EQ(note.Combo1->count(), 4);
    EXPECT_EQ(note.Combo1->currentIndex(), 1);
}

TEST_F(NotesTest, DeletingAGroupRemovesItsNotesButNothingItsLinksPointTo)
{
    const QString outside = env.Root() + s("/outside");
    WriteFile(outside + s("/keep.rtf"), "{\\rtf1 keep}");
    writeNote(NotesFolder() + s("/Work/a.rtf"), s("a"));
    writeNote(NotesFolder() + s("/Work/sub/b.rtf"), s("b"));
    QFile::setPermissions(NotesFolder() + s("/Work/a.rtf"), QFile::ReadOwner);
    ASSERT_TRUE(QFile::link(outside, NotesFolder() + s("/Work/link")));
    ASSERT_TRUE(QFile::link(outside, NotesFolder() + s("/Linked")));
    frmNote& note = open();
    frmNoteGroupes& groups = Forms::Get<frmNoteGroupes>();
    note.ChooseGroup(2);
    groups.Option2->setChecked(true);
    EXPECT_TRUE(groups.Label1->isEnabled());
    EXPECT_FALSE(groups.Text1Name->isEnabled());
    for (const char* name : {"Work", "Linked"}) {
        groups.Combo1->setCurrentIndex(groups.Combo1->findText(s(name)));
        MsgBoxScript::Push(vbNo);
        groups.Command1->click();
        EXPECT_TRUE(FileSystem::Exists(NotesFolder() + s("/") + s(name)));
        MsgBoxScript::Push(vbYes);
        groups.Command1->click();
        EXPECT_FALSE(QFileInfo(NotesFolder() + s("/") + s(name)).exists()) << name;
        EXPECT_EQ(messages().last(), GetLangText(s("mes154")));
        EXPECT_EQ(note.Combo1->currentIndex(), 0);
    }
    EXPECT_EQ(ReadFile(outside + s("/keep.rtf")), "{\\rtf1 keep}");
    EXPECT_EQ(QDir(NotesFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), QStringList());
    EXPECT_FALSE(groups.Command1->isEnabled());
}

}  // namespace
