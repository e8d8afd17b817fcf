// The notes window and the note store: opening and closing in the main window's
// place, the tree and default titles, saving with its refusals and questions,
// opening, deleting, importing and exporting notes, and group changes.

#include "test_notes_fixture.h"

#include <functional>

namespace {

TEST_F(NotesTest, ItTakesTheMainWindowsPlaceAndBackGivesItBackAfterAskingAboutChanges)
{
    EXPECT_TRUE(main().ToolbarButton(8)->isEnabled());
    frmNote& note = open();
    EXPECT_TRUE(note.isVisible());
    EXPECT_EQ(note.Left(), 1500);
    EXPECT_EQ(note.Top(), 900);
    EXPECT_EQ(note.windowTitle(), s("Tessaryn v.3.30 - [Notes]"));
    EXPECT_TRUE(FileSystem::IsFolder(NotesFolder()));
    EXPECT_EQ(note.Combo1->itemText(0), s("General notes"));
    EXPECT_EQ(note.Text1->text(), s("Note 1"));
    EXPECT_TRUE(note.NoteModified);
    note.Form_Activate();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Forms::IsLoaded<frmMain>());

    // Back with typed text: a save that does not happen keeps the window open.
    note.RTB1->insertPlainText(s("milk"));
    note.Move(2100, 1200);
    FileSystem::SetAtomicWriteFailsBeforeRename(true);
    MsgBoxScript::Push(vbYes);
    MsgBoxScript::Push(vbOK);
    note.ToolbarButton(2)->trigger();
    EXPECT_EQ(messages(), (QStringList{s("Save the changes to \"Note 1\"?"), GetLangText(s("mes356"))}));
    ASSERT_TRUE(Forms::IsLoaded<frmNote>());
    FileSystem::SetAtomicWriteFailsBeforeRename(false);
    MsgBoxScript::Push(vbNo);
    note.ToolbarButton(2)->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Forms::IsLoaded<frmNote>());
    ASSERT_TRUE(Forms::IsLoaded<frmMain>());
    main().Form_Activate();
    EXPECT_EQ(main().Left(), 2100);
    EXPECT_EQ(main().Top(), 1200);

    // The close box asks too, then leaves only the tray.
    frmNote& again = open();
    again.Form_Activate();
    again.RTB1->insertPlainText(s("eggs"));
    MsgBoxScript::Push(vbYes);
    again.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Forms::IsLoaded<frmNote>());
    EXPECT_FALSE(Forms::IsLoaded<frmMain>());
    EXPECT_EQ(noteText(NotesFolder() + s("/Note 1.rtf")), s("eggs"));
}

TEST_F(NotesTest, TheTreeListsTheNotesAndTheDefaultTitleSkipsTakenNumbers)
{
    const struct {
        QStringList files;
        QStringList titles;
        const char* next;
    } cases[] = {
        {{}, {}, "Note 1"},
        {{s("Note 1.rtf"), s("Note 2.rtf"), s("Note 4.rtf")}, {s("Note 1"), s("Note 2"), s("Note 4")}, "Note 5"},
        {{s("Work.rtf"), s("shopping.rtf"), s("Ideas.rtf")}, {s("Ideas"), s("shopping"), s("Work")}, "Note 4"},
        {{s("note 4.rtf"), s("a.rtf"), s("b.rtf")}, {s("a"), s("b"), s("note 4")}, "Note 5"},
        {{s("Letter.RTF"), s(".plan.rtf"), s("list.txt"), s(".rtf")}, {s("Letter")}, "Note 2"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(FileSystem::RemoveTree(NotesFolder()));
        for (const QString& file : c.files)
            writeNote(NotesFolder() + s("/") + file, file);
        WriteFile(NotesFolder() + s("/folder.rtf/inside.rtf"), "{\\rtf1 x}");
        frmNote& note = open();
        EXPECT_EQ(titles(note), c.titles) << c.next;
        EXPECT_EQ(note.Text1->text(), s(c.next));
        EXPECT_EQ(note.Tree1->topLevelItem(0)->text(0), s("General notes"));
        Forms::Unload(&note, UnloadMode::ControlMenu);
    }
    // Groups: folders not starting with ".", sorted without letter case.
    for (const char* group : {"beta", "Alpha", ".cache", "gamma"})
        QDir().mkpath(NotesFolder() + s("/") + s(group));
    frmNote& note = open();
    QStringList groups;
    for (int i = 0; i < note.Combo1->count(); ++i)
        groups.append(note.Combo1->itemText(i));
    EXPECT_EQ(groups, (QStringList{s("General notes"), s("Alpha"), s("beta"), s("folder.rtf"), s("gamma")}));
}

TEST_F(NotesTest, SavingWritesTheTitlesFileAndAnOverwriteReplacesItWhateverItsLetterCase)
{
    frmNote& note = open();
    type(note, s("Plan"), s("first"));
    EXPECT_TRUE(note.SaveNote());
    EXPECT_EQ(noteText(NotesFolder() + s("/Plan.rtf")), s("first"));
    EXPECT_FALSE(note.NoteModified);
    EXPECT_EQ(note.Tree1->currentItem()->text(0), s("Plan"));

    // Another note of the same title in another letter case: No keeps the typed text.
    note.NewNote();
    EXPECT_EQ(note.Text1->text(), s("Note 2"));
    EXPECT_TRUE(note.RTB1->document()->isEmpty());
    type(note, s("PLAN"), s("second"));
    MsgBoxScript::Push(vbNo);
    EXPECT_FALSE(note.SaveNote());
    EXPECT_EQ(note.RTB1->toPlainText(), s("second"));
    EXPECT_EQ(note.Text1->text(), s("PLAN"));
    EXPECT_TRUE(note.NoteModified);
    EXPECT_FALSE(note.NoteSaveDone);
    EXPECT_EQ(noteText(NotesFolder() + s("/Plan.rtf")), s("first"));

    MsgBoxScript::Push(vbYes);
    EXPECT_TRUE(note.SaveNote());
    EXPECT_TRUE(note.NoteSaveDone);
    EXPECT_EQ(files(NotesFolder()), QStringList{s("Plan.rtf")});
    EXPECT_EQ(noteText(NotesFolder() + s("/Plan.rtf")), s("second"));
    EXPECT_EQ(note.Text1->text(), s("Plan"));

    // The same title in another group is another note; New after a save empties the editor.
    QDir().mkpath(NotesFolder() + s("/Work"));
    note.FillGroups();
    note.ChooseGroup(1);
    type(note, s("Plan"), s("work plan"));
    MsgBoxScript::Push(vbYes);
    note.NewNote();
    EXPECT_EQ(noteText(NotesFolder() + s("/Work/Plan.rtf")), s("work plan"));
    EXPECT_EQ(noteText(NotesFolder() + s("/Plan.rtf")), s("second"));
    EXPECT_TRUE(note.RTB1->document()->isEmpty());
    EXPECT_EQ(note.Text1->text(), s("Note 2"));
}

TEST_F(NotesTest, TitlesAreFilteredAndThoseThatCannotBeFileNamesAreRefused)
{
    frmNote& note = open();
    const struct {
        const char* typed;
        const char* title;
        const char* message;  // nullptr: saved
    } cases[] = {
        {"", "", "mes326"},
        {"   ", "   ", "mes326"},
        {"a/b:c?d\\e*f<g>h|i'j\"k", "abcdefghijk", nullptr},
        {"..", "..", "mes355"},
        {".plan", ".plan", "mes355"},
        {"  Shopping  ", "Shopping", nullptr},
        {"0123456789012345678901234567890123456789", "01234567890123456789012345678901", nullptr},
    };
    for (const auto& c : cases) {
        MsgBoxScript::Clear();
        type(note, s(c.typed), s("text"));
        EXPECT_EQ(note.SaveNote(), c.message == nullptr) << c.typed;
        EXPECT_EQ(note.Text1->text(), s(c.title)) << c.typed;
        EXPECT_EQ(messages(), c.message ? QStringList{GetLangText(s(c.message))} : QStringList()) << c.typed;
    }
    EXPECT_EQ(files(NotesFolder()),
              (QStringList{s("01234567890123456789012345678901.rtf"), s("Shopping.rtf"), s("abcdefghijk.rtf")}));
    EXPECT_TRUE(files(QFileInfo(NotesFolder()).path()).filter(s(".rtf")).isEmpty());

    // A title over 255 bytes set by the program is refused, not cut; a listed
    // 40-character title stays whole and saves to its own file.
    note.Text1->setText(QString(130, QChar(u'ж')));
    MsgBoxScript::Clear();
    EXPECT_FALSE(note.SaveNote());
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes355"))});
    const QString longTitle = s("A title of forty characters for the test");
    writeNote(NotesFolder() + s("/") + longTitle + s(".rtf"), s("old"));
    note.LoadNoteTree();
    MsgBoxScript::Push(vbNo);
    note.Tree1_NodeClick(node(note, longTitle));
    EXPECT_EQ(note.Text1->text(), longTitle);
    note.RTB1->insertPlainText(s("new "));
    EXPECT_TRUE(note.SaveNote());
    EXPECT_EQ(noteText(NotesFolder() + s("/") + longTitle + s(".rtf")), s("new old"));
}

TEST_F(NotesTest, ASaveThatDoesNotHappenNeverLosesTheTypedText)
{
    writeNote(NotesFolder() + s("/Locked.rtf"), s("kept"));
    writeNote(NotesFolder() + s("/Other.rtf"), s("other"));
    QFile::setPermissions(NotesFolder() + s("/Locked.rtf"), QFile::ReadOwner);
    frmNote& note = open();
    // The answers: delete when asked, save the changes, and OK to the failure.
    const struct {
        const char* name;
        QList<int> answers;
        std::function<void()> leave;
    } ways[] = {
        {"new", {vbYes, vbOK}, [&] { note.NewNote(); }},
        {"tree click", {vbYes, vbOK}, [&] { note.Tree1_NodeClick(node(note, s("Other"))); }},
        {"delete of another note", {vbYes, vbYes, vbOK},
         [&] {
             note.Tree1->setCurrentItem(node(note, s("Other")));
             note.DeleteNote();
         }},
        {"group change", {vbYes, vbOK}, [&] { note.Combo1->setCurrentIndex(1); }},
        {"group manager", {vbYes, vbOK}, [&] { note.ToolbarButton(14)->trigger(); }},
    };
    QDir().mkpath(NotesFolder() + s("/Work"));
    note.FillGroups();
    note.Tree1_NodeClick(node(note, s("Locked")));
    for (const auto& way : ways) {
        note.RTB1->insertPlainText(s("typed "));
        const QString text = note.RTB1->toPlainText();
        for (int answer : way.answers)
            MsgBoxScript::Push(answer);
        way.leave();
        EXPECT_EQ(note.RTB1->toPlainText(), text) << way.name;
        EXPECT_EQ(note.Text1->text(), s("Locked")) << way.name;
        EXPECT_TRUE(note.NoteModified) << way.name;
        EXPECT_EQ(note.Combo1->currentIndex(), 0) << way.name;
        EXPECT_EQ(messages().last(), GetLangText(s("mes356"))) << way.name;
    }
    EXPECT_EQ(noteText(NotesFolder() + s("/Locked.rtf")), s("kept"));
    // An atomic write that fails before its rename leaves the old note.
    QFile::setPermissions(NotesFolder() + s("/Locked.rtf"), QFile::ReadOwner | QFile::WriteOwner);
    FileSystem::SetAtomicWriteFailsBeforeRename(true);
    MsgBoxScript::Push(vbOK);
    EXPECT_FALSE(note.SaveNote());
    EXPECT_EQ(noteText(NotesFolder() + s("/Locked.rtf")), s("kept"));
    EXPECT_EQ(files(NotesFolder()), (QStringList{s("Locked.rtf")}));
}

TEST_F(NotesTest, ATreeClickLoadsANoteAndAsksBeforeLeavingChanges)
{
    writeNote(NotesFolder() + s("/Alpha.rtf"), s("alpha"));
    writeNote(NotesFolder() + s("/Beta.rtf"), s("beta"));
    frmNote& note = open();
    // An empty editor asks nothing, even after the title changed; the top node loads nothing.
    note.Text1->insert(s("x"));
    note.Tree1_NodeClick(note.Tree1->topLevelItem(0));
    EXPECT_EQ(note.Tree1->currentItem()->text(0), s("Alpha"));
    EXPECT_TRUE(note.RTB1->document()->isEmpty());
    note.Tree1_NodeClick(node(note, s("Beta")));
    EXPECT_EQ(note.RTB1->toPlainText(), s("beta"));
    EXPECT_EQ(note.Text1->text(), s("Beta"));
    EXPECT_FALSE(note.NoteModified);
    EXPECT_TRUE(messages().isEmpty());

    note.RTB1->insertPlainText(s("more "));
    MsgBoxScript::Push(vbNo);
    note.Tree1_NodeClick(node(note, s("Alpha")));
    EXPECT_EQ(note.RTB1->toPlainText(), s("alpha"));
    EXPECT_EQ(noteText(NotesFolder() + s("/Beta.rtf")), s("beta"));

    note.RTB1->insertPlainText(s("more "));
    MsgBoxScript::Push(vbYes);
    note.Tree1_NodeClick(node(note, s("Beta")));
    EXPECT_EQ(noteText(NotesFolder() + s("/Alpha.rtf")), s("more alpha"));
    EXPECT_EQ(note.RTB1->toPlainText(), s("beta"));
    EXPECT_EQ(note.Tree1->currentItem()->text(0), s("Beta"));

    // A note that cannot be read leaves the editor as it was.
    QFile::remove(NotesFolder() + s("/Alpha.rtf"));
    MsgBoxScript::Push(vbOK);
    note.Tree1_NodeClick(node(note, s("Alpha")));
    EXPECT_EQ(note.RTB1->toPlainText(), s("beta"));
    EXPECT_EQ(note.Text1->text(), s("Beta"));
    EXPECT_EQ(messages().last(), GetLangText(s("mes357")));

    // So does a note larger than a note can be, which stays as it is (a sparse file here).
    QFile huge(NotesFolder() + s("/Huge.rtf"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.write("{\\rtf1 huge}") > 0);
    ASSERT_TRUE(huge.resize(MaxNoteFileSize + 1));
    huge.close();
    note.LoadNoteTree();
    MsgBoxScript::Push(vbOK);
    note.Tree1_NodeClick(node(note, s("Huge")));
    EXPECT_EQ(note.RTB1->toPlainText(), s("beta"));
    EXPECT_EQ(messages().last(), GetLangText(s("mes398")));
    EXPECT_TRUE(note.SaveNote());
    EXPECT_EQ(QFileInfo(huge.fileName()).size(), MaxNoteFileSize + 1);
    EXPECT_EQ(noteText(NotesFolder() + s("/Beta.rtf")), s("beta"));
}

// A large note is read apart from the window: until it is shown the editor is
// read-only, a save waits for it and stores it whole, and whatever replaces it first
// keeps its place.
TEST_F(NotesTest, ALargeNoteStillBeingReadIsSavedWholeAndGivesWayToTheNextOne)
{
    QString large;
    for (int i = 0; large.size() < 400000; ++i)
        large += s("Line %1 of a long note.\n").arg(i);
    large.chop(1);
    writeNote(NotesFolder() + s("/Large.rtf"), large);
    writeNote(NotesFolder() + s("/Small.rtf"), s("small"));
    frmNote& note = open();
    const struct {
        const char* name;
        std::function<void(frmNote&)> meanwhile;
        QString shown;
    } cases[] = {
        {"save under another title",
         [](frmNote& n) {
             n.Text1->setText(s("Copy"));
             EXPECT_TRUE(n.SaveNote());
         },
         large},
        {"another note clicked", [](frmNote& n) { n.Tree1_NodeClick(node(n, s("Small"))); }, s("small")},
        {"a new note", [](frmNote& n) { n.NewNote(); }, QString()},
    };
    for (const auto& c : cases) {
        note.Tree1_NodeClick(node(note, s("Large")));
        ASSERT_TRUE(note.RTB1->Loading()) << c.name;
        EXPECT_TRUE(note.RTB1->isReadOnly());
        c.meanwhile(note);
        PumpUntil([&] { return !note.RTB1->Loading(); });
        QCoreApplication::processEvents();
        EXPECT_EQ(note.RTB1->toPlainText(), c.shown) << c.name;
        EXPECT_FALSE(note.RTB1->isReadOnly()) << c.name;
        EXPECT_FALSE(note.NoteModified && c.shown == large) << c.name;
    }
    EXPECT_EQ(noteText(NotesFolder() + s("/Copy.rtf")), large);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(NotesTest, DeleteRemovesTheSelectedNoteAndShowsTheFirstOrANewOne)
{
    frmNote& note = open();
    note.DeleteNote();  // an empty group: nothing happens
    EXPECT_TRUE(messages().isEmpty());
    writeNote(NotesFolder() + s("/Alpha.rtf"), s("alpha"));
    writeNote(NotesFolder() + s("/Beta.rtf"), s("beta"));
    note.LoadNoteTree();
    MsgBoxScript::Push(vbOK);
    note.DeleteNote();  // no note selected
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes194"))});

    note.Tree1_NodeClick(node(note, s("Beta")));
    MsgBoxScript::Push(vbNo);
    note.DeleteNote();
    EXPECT_EQ(messages().last(), s("Delete the note: \"Beta\"?"));
    EXPECT_EQ(titles(note), (QStringList{s("Alpha"), s("Beta")}));
    MsgBoxScript::Push(vbYes);
    note.DeleteNote();
    EXPECT_EQ(titles(note), QStringList{s("Alpha")});
    EXPECT_EQ(note.RTB1->toPlainText(), s("alpha"));
    EXPECT_EQ(note.Text1->text(), s("Alpha"));

    // The last note, deleted with unsaved changes: New's question names it, No gives Note 1.
    note.RTB1->insertPlainText(s("changed "));
    note.Tree1->setCurrentItem(node(note, s("Alpha")));
    MsgBoxScript::Push(vbYes);
    MsgBoxScript::Push(vbNo);
    note.DeleteNote();
    EXPECT_EQ(messages().last(), s("Save the changes to \"Alpha\"?"));
    EXPECT_TRUE(files(NotesFolder()).isEmpty());
    EXPECT_EQ(note.Text1->text(), s("Note 1"));
    EXPECT_TRUE(note.RTB1->document()->isEmpty());
}

TEST_F(NotesTest, ImportLoadsAnyFileUnderItsNameAndExportWritesTheEditor)
{
    const QString elsewhere = env.Root() + s("/elsewhere");
    WriteFile(elsewhere + s("/Shopping list.rtf"), RichEditFixture());
    WriteFile(elsewhere + s("/Letter.RTF"), "{\\rtf1 Dear}");
    WriteFile(elsewhere + s("/readme"), "plain words");
    WriteFile(elsewhere + s("/a:b?.rtf"), "{\\rtf1 odd}");
    frmNote& note = open();
    const struct {
        const char* file;
        const char* title;
        const char* text;
    } cases[] = {
        {"Shopping list.rtf", "Shopping list", "Привет, мир!\nred centred\nunder\tgone"},
        {"Letter.RTF", "Letter", "Dear"},
        {"readme", "readme", "plain words"},
        {"a:b?.rtf", "ab", "odd"},
    };
    MsgBoxScript::SetAutomatic(true, vbNo);  // each import leaves the one before unsaved
    for (const auto& c : cases) {
        FileDialog::PushResult(elsewhere + s("/") + s(c.file));
        note.OpenNoteFile();
        EXPECT_EQ(note.Text1->text(), s(c.title));
        EXPECT_EQ(note.RTB1->toPlainText(), s(c.text));
        EXPECT_TRUE(note.NoteModified && note.NoteTitleEdited);
    }
    EXPECT_EQ(FileDialog::AskedForTests().first().folder, NotesFolder() + s("/"));
    EXPECT_TRUE(files(NotesFolder()).isEmpty());
    FileDialog::PushResult(elsewhere + s("/gone.rtf"));
    note.OpenNoteFile();
    EXPECT_EQ(note.RTB1->toPlainText(), s("odd"));
    EXPECT_EQ(messages().last(), GetLangText(s("mes357")));

    // Typed text is saved first when the user says so.
    note.RTB1->selectAll();
    note.RTB1->insertPlainText(s("typed"));
    FileDialog::PushResult(elsewhere + s("/Letter.RTF"));
    MsgBoxScript::Push(vbYes);
    note.OpenNoteFile();
    EXPECT_EQ(noteText(NotesFolder() + s("/ab.rtf")), s("typed"));
    EXPECT_EQ(note.RTB1->toPlainText(), s("Dear"));
    MsgBoxScript::SetAutomatic(true);

    FileDialog::ClearForTests();
    FileDialog::PushResult(elsewhere + s("/out.rtf"));
    note.ExportNote();
    EXPECT_EQ(FileDialog::AskedForTests().first().fileName, s("Letter.rtf"));
    EXPECT_EQ(FileDialog::AskedForTests().first().folder, env.Root() + s("/home"));
    EXPECT_EQ(noteText(elsewhere + s("/out.rtf")), s("Dear"));
    EXPECT_TRUE(note.NoteModified);
    QFile::setPermissions(elsewhere + s("/out.rtf"), QFile::ReadOwner);
    FileDialog::PushResult(elsewhere + s("/out.rtf"));
    MsgBoxScript::Push(vbOK);
    note.RTB1->insertPlainText(s("new "));
    note.ExportNote();
    EXPECT_EQ(messages().last(), GetLangText(s("mes356")));
    EXPECT_EQ(noteText(elsewhere + s("/out.rtf")), s("Dear"));
}

TEST_F(NotesTest, AGroupTheUserChoosesAsksFirstAndOneTheProgramChoosesDoesNot)
{
    QDir().mkpath(NotesFolder() + s("/Work"));
    writeNote(NotesFolder() + s("/Work/Task.rtf"), s("task"));
    frmNote& note = open();
    type(note, s("Draft"), s("draft"));
    MsgBoxScript::Push(vbNo);
    note.Combo1->setCurrentIndex(1);
    EXPECT_EQ(titles(note), QStringList{s("Task")});
    EXPECT_EQ(note.Text1->text(), QString());
    EXPECT_TRUE(note.RTB1->document()->isEmpty());
    MsgBoxScript::Push(vbOK);
    EXPECT_FALSE(note.SaveNote());
    EXPECT_EQ(messages(), (QStringList{s("Save the changes to \"Draft\"?"), GetLangText(s("mes326"))}));

    type(note, s("Draft"), s("draft"));
    MsgBoxScript::Push(vbYes);
    note.Combo1->setCurrentIndex(0);
    EXPECT_EQ(noteText(NotesFolder() + s("/Work/Draft.rtf")), s("draft"));
    type(note, s("Unsaved"), s("gone"));
    MsgBoxScript::Clear();
    note.FillGroups();
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_TRUE(note.RTB1->document()->isEmpty());
}

TEST_F(NotesTest, AMessageBoxsActivationLeavesTheFocusAlone)
{
    frmNote& note = open();
    MsgBoxScript::Push(vbOK);
    note.Text1->setText(QString());
    note.SaveNote();
    note.Text1->setText(s("Title"));
    note.Form_Activate();
    EXPECT_TRUE(note.Text1->selectedText().isEmpty());
    note.Form_Activate();
    EXPECT_EQ(note.Text1->selectedText(), s("Title"));
}

}  // namespace
