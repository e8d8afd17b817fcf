// The backup wizard: its pages, a round trip of each kind, and every way a backup or
// a restore can fail, after which the live database is byte for byte as it was and
// still usable. The restore unloads the main window from inside its own toolbar
// handler; the AddressSanitizer build runs this file too.

#include "test_tools_fixture.h"

#include "core/Formats.h"
#include "platform/DatabaseCopy.h"
#include "core/StartCleanUp.h"
#include "support/LimitedChild.h"
#include "platform/KnownFolders.h"
#include "tools/BackupRestore.h"
#include "tools/frmBackUp.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QThreadPool>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class Backup : public ToolsTest {
protected:
    static frmBackUp& wizard() { return Forms::Get<frmBackUp>(); }
    QString home(const char* name) const { return env.Root() + s("/home/") + s(name); }

    // Backs up the kind (0 events, 1 phone book, 2 tasks) to the path the dialog gives.
    static void backUp(int option, const QString& chosen)
    {
        wizard().Option1[0]->setChecked(true);
        wizard().cmdNext->click();
        wizard().Option2[option]->setChecked(true);
        FileDialog::PushResult(chosen);
        wizard().cmdOK->click();
    }
    // Starts a restore: the backup is checked on a worker thread, and the wizard ends
    // the restore from its event loop.
    static void startRestore(const QString& chosen)
    {
        wizard().Option1[1]->setChecked(true);
        FileDialog::PushResult(chosen);
        wizard().cmdNext->click();
    }
    static void restore(const QString& chosen)
    {
        startRestore(chosen);
        PumpUntil([] {
            const frmBackUp* shown = Forms::Find<frmBackUp>();
            return !shown || !shown->Restoring();
        });
    }

    static int count(Connection& connection, const char* table)
    {
        QList<QVariantList> result;
        EXPECT_TRUE(connection.Query(s("SELECT count(*) FROM ") + s(table), {}, &result).Ok());
        return result.value(0).value(0).toInt();
    }
    static QString lastBackup()
    {
        QString value;
        return RegRead(LastBackupValuePath(), &value) == ReadResult::Found ? value : s("<none>");
    }
    static QStringList leftovers()
    {
        QStringList names = QDir(KnownFolders::UserDataFolder() + s("/System")).entryList(QDir::Files);
        names.removeIf([](const QString& name) { return name.endsWith(s(".db")); });
        return names;
    }
};

TEST_F(Backup, TheWizardShowsItsPagesAndTheLastBackup)
{
    frmBackUp& w = wizard();
    EXPECT_EQ(w.windowTitle(), GetLangText(s("mes38")));
    EXPECT_EQ(w.Label1->text(), GetLangText(s("mes39")));
    EXPECT_EQ(w.Label2->text(), GetLangText(s("mes42")));
    EXPECT_EQ(w.Label3->text(), GetLangText(s("mes43")) + s(":"));
    EXPECT_EQ(w.Label4->text(), GetLangText(s("mes44")));
    EXPECT_EQ(w.Frame1->title(), GetLangText(s("mes45")) + s(":"));
    EXPECT_EQ(w.Label6->text(), GetLangText(s("mes40")) + s(":"));
    EXPECT_EQ(w.Frame2->title(), GetLangText(s("mes41")) + s(":"));
    const char* const options[] = {"opt4", "opt5", "opt1", "opt2", "opt3"};
    const QList<QRadioButton*> buttons = w.Option1 + w.Option2;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(buttons[i]->text(), GetLangText(s(options[i])));
    EXPECT_TRUE(w.Option1[0]->isChecked() && w.Option2[0]->isChecked());
    EXPECT_TRUE(w.cmdOK->isHidden());
    EXPECT_EQ(w.cmdOK->text(), s("OK"));
    EXPECT_EQ(w.cmdCancel->text(), GetLangText(s("cmd2")));
    w.cmdNext->click();
    EXPECT_TRUE(w.OnSecondPage() && w.cmdNext->isHidden() && w.Frame1->isHidden() && !w.cmdOK->isHidden());
    // A cancelled dialog keeps the wizard on its page.
    FileDialog::PushResult(QString());
    w.cmdOK->click();
    EXPECT_TRUE(Forms::IsLoaded<frmBackUp>() && w.OnSecondPage());
    w.cmdCancel->click();
    EXPECT_FALSE(Forms::IsLoaded<frmBackUp>());

    ASSERT_TRUE(RegWrite(LastBackupValuePath(), s("1/2/2026 9:00:00/Tasks")));
    EXPECT_EQ(wizard().Label4->text(), s("1/2/2026 9:00:00/Tasks"));
    EXPECT_TRUE(main().ToolbarButton(11)->isEnabled());
}

TEST_F(Backup, TheProposedNameIsTheDateWithoutSeparatorsAndTheExtensionIsAppended)
{
    const QDate day(2026, 12, 10);
    for (const char* locale : {"en_US", "ru_RU", "de_DE"}) {
        const QString date = QLocale(s(locale)).toString(day, s("dd/MM/yyyy-dd.MM.yyyy:MM"));
        EXPECT_EQ(BackupFileName(date, DataKind::Phones), s("1012202610122026") + s("12.tssp")) << locale;
        const QString shortDate = QLocale(s(locale)).toString(day, QLocale::ShortFormat);
        EXPECT_FALSE(BackupFileName(shortDate, DataKind::Events).chopped(5).contains(QRegularExpression(s("[/.:-]"))));
    }
    EXPECT_EQ(WithBackupExtension(s("/a/copy"), DataKind::Tasks), s("/a/copy.tssb"));
    EXPECT_EQ(WithBackupExtension(s("/a/copy.TSSB"), DataKind::Tasks), s("/a/copy.TSSB.tssb"));
    EXPECT_EQ(WithBackupExtension(s("/a/copy.tssb"), DataKind::Tasks), s("/a/copy.tssb"));
    EXPECT_EQ(KindOfPath(s("/a/copy.tssp")), DataKind::Phones);
    EXPECT_FALSE(KindOfPath(s("/a/copy.TSSP")).has_value());
}

TEST_F(Backup, EachKindMakesTheRoundTripAndTheOpenViewsFollow)
{
    struct Kind {
        int option;
        const char* key;
        Connection& (*connection)();
        const char* table;
        std::function<void(const QString&)> add;
        Recordset* view;
        const char* filter;
        const char* sort;
        const char* field;
    };
    DataEnvironment& data = DataEnvironment1();
    const QList<Kind> kinds = {
        {0, "opt1", &db, "lst_Dates", [](const QString& t) { addEvent(s("Work"), t, QDate(2026, 12, 18)); },
         &data.rsCommand2, "", "Step_Name DESC", "Step_Name"},
        {1, "opt2", &phones, "tbl_Phones", [](const QString& t) { addContact({{"Second_Name", t}}); },
         &data.rstbl_Phones, "Second_Name <> 'zzz'", "Second_Name", "Second_Name"},
        {2, "opt3", &tasks, "tbl_Business", [](const QString& t) { addTask(s("2026-12-01"), t, false); },
         &data.rstbl_Business, "bsn_Status = False", "bsn_Text DESC", "bsn_Text"}};
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.table);
        MsgBoxScript::Clear();
        FileDialog::ClearForTests();
        kind.add(s("kept A"));
        kind.add(s("kept B"));
        const QString extension = s(KindInfo(static_cast<DataKind>(kind.option)).extension);
        backUp(kind.option, home("copy"));
        const QString file = home("copy") + extension;
        ASSERT_TRUE(QFile::exists(file));
        EXPECT_EQ(QFile::permissions(file) & 0x0077, 0);
        EXPECT_EQ(messages(), QStringList{GetLangText(s("mes49"))});
        EXPECT_EQ(lastBackup(), DateText(Now().date()) + s(" ") + LongTimeText(Now().time()) + s("/")
                                    + GetLangText(s(kind.key)));
        const FileDialog::Asked asked = FileDialog::AskedForTests().value(0);
        EXPECT_EQ(asked.title, GetLangText(s("mes46")) + s(": ") + GetLangText(s(kind.key)));
        EXPECT_EQ(asked.fileName, BackupFileName(DateText(Now().date()), static_cast<DataKind>(kind.option)));
        EXPECT_EQ(asked.folder, KnownFolders::UserProfileFolder());
        EXPECT_EQ(asked.defaultSuffix, extension.mid(1));
        EXPECT_FALSE(Forms::IsLoaded<frmBackUp>());
        EXPECT_EQ(wizard().Label4->text(), lastBackup());

        kind.add(s("gone"));
        OpenIfClosed(*kind.view);
        ASSERT_TRUE(kind.view->SetSort(s(kind.sort)).Ok());
        ASSERT_TRUE(kind.view->SetFilter(s(kind.filter)).Ok());
        ASSERT_TRUE(kind.view->MoveFirst().Ok());
        ASSERT_TRUE(kind.view->Find(s(kind.field) + s(" = 'kept A'")).Ok());
        const qint64 current = kind.view->CurrentId();
        MsgBoxScript::Clear();
        restore(file);
        EXPECT_EQ(messages(), QStringList{GetLangText(s("mes51"))});
        EXPECT_EQ(count(kind.connection(), kind.table), 2);
        EXPECT_EQ(kind.view->State(), 1);
        EXPECT_EQ(kind.view->RecordCount(), 2);
        EXPECT_EQ(kind.view->Filter(), s(kind.filter));
        EXPECT_EQ(kind.view->Sort(), s(kind.sort));
        EXPECT_EQ(kind.view->CurrentId(), current);
        EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(s(" ")).toStdString();
        EXPECT_FALSE(Forms::IsLoaded<frmBackUp>());
        EXPECT_FALSE(Forms::IsLoaded<frmMain>());
        EXPECT_EQ(lastBackup().section(s("/"), -1), GetLangText(s(kind.key)));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_TRUE(kind.connection().Execute(s("DELETE FROM ") + s(kind.table)).Ok());
    }
}

TEST_F(Backup, ARestoreFromTheToolbarKeepsTheFilteredPlannerAndNeverReusesAnId)
{
    addCategory(s("Work"));
    addCategory(s("Home"));
    const qint64 first = addRow(s("Work"), s("Alpha"), QDate(2026, 12, 18));
    addRow(s("Home"), s("Bravo"), QDate(2026, 12, 19));
    main().OpenDB();
    ASSERT_TRUE(DatabaseCopy::BackupTo(db(), home("events.tssv")).Ok());
    const qint64 gone = addRow(s("Work"), s("Charlie"), QDate(2026, 12, 20));

    main().ShowModeless();
    frmOrg& planner = Forms::Get<frmOrg>();
    planner.FillCategories(main().ListView1);
    planner.SelectCategory(planner.Combo1->findText(s("Work")));
    planner.ShowModeless();
    ASSERT_EQ(planner.DataGrid1->model()->rowCount(), 2);

    // The planner took the main window's place; the tray brings it back.
    pump(50);
    main().ShowModeless();
    pump(50);
    QPointer<frmMain> mainWindow(&main());
    whenShown<frmBackUp>([&](frmBackUp&) { startRestore(home("events.tssv")); });
    clickToolbarButton(11);
    // The main window goes once its toolbar's click is over, never under it.
    EXPECT_TRUE(mainWindow);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(mainWindow);
    EXPECT_EQ(messages().value(0), GetLangText(s("mes51")));
    ASSERT_TRUE(Forms::IsLoaded<frmOrg>());
    EXPECT_EQ(planner.DataGrid1->model()->rowCount(), 1);
    EXPECT_EQ(DataEnvironment1().rsCommand3.CurrentId(), first);
    EXPECT_EQ(process().ListView1.Count(), 2);
    EXPECT_GT(addRow(s("Work"), s("Delta"), QDate(2026, 12, 21)), gone);
}

TEST_F(Backup, ARestoreThatFailsLeavesTheLiveFileAsItWas)
{
    addContact({{"Second_Name", s("Live")}});
    ASSERT_TRUE(DatabaseCopy::BackupTo(phones(), home("good.tssp")).Ok());
    const QByteArray good = ReadFile(home("good.tssp"));
    const QString systemFolder = KnownFolders::UserDataFolder() + s("/System");
    const auto foreign = [&](const QString& path) {
        Connection other;
        ASSERT_TRUE(other.OpenNew(path).Ok());
        ASSERT_TRUE(other.Execute(s("CREATE TABLE t (x)")).Ok());
    };
    const auto laterFormat = [&](const QString& path) {
        WriteFile(path, good);
        Connection later;
        ASSERT_TRUE(later.Open(path, s("kettle_mirtolven")).Ok());
        ASSERT_TRUE(later.Execute(s("ALTER TABLE tbl_Phones ADD COLUMN Extra TEXT")).Ok());
    };
    struct Case {
        const char* name;
        std::function<void(const QString&)> make;
        const char* message;
    };
    const QList<Case> cases = {
        {"text.tssp", [](const QString& p) { WriteFile(p, "just some text\r\n"); }, "mes52"},
        {"foreign.tssp", foreign, "mes52"},
        {"half.tssp", [&](const QString& p) { WriteFile(p, good.left(good.size() / 2)); }, "mes52"},
        {"phones.tssv", [&](const QString& p) { WriteFile(p, good); }, "mes52"},
        {"later.tssp", laterFormat, "mes52"},
        {"fifo.tssp", [](const QString& p) { ::mkfifo(QFile::encodeName(p).constData(), 0600); }, "mes52"},
        {"readonly.tssp",
         [&](const QString& p) {
             WriteFile(p, good);
             ::chmod(QFile::encodeName(systemFolder).constData(), 0555);
         },
         "mes375"},
    };
    addContact({{"Second_Name", s("Added later")}});
    ASSERT_TRUE(phones().Close().Ok());
    const QByteArray live = ReadFile(DatabasePath(DataKind::Phones));
    const QByteArray events = ReadFile(DatabasePath(DataKind::Events));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MsgBoxScript::Clear();
        c.make(home(c.name));
        restore(home(c.name));
        ::chmod(QFile::encodeName(systemFolder).constData(), 0700);
        const QString expected = c.message == QByteArray("mes52")
                                     ? GetLangText(s("mes52")) + s("\r\n") + GetLangText(s("mes53")) + s(" Tessaryn.")
                                     : GetLangText(s(c.message));
        EXPECT_EQ(messages(), QStringList{expected});
        EXPECT_EQ(MsgBoxScript::Log().value(0).buttons, 48);
        ASSERT_TRUE(phones().Close().Ok());
        EXPECT_EQ(ReadFile(DatabasePath(DataKind::Phones)), live);
        EXPECT_EQ(ReadFile(DatabasePath(DataKind::Events)), events);
        EXPECT_EQ(count(phones(), "tbl_Phones"), 2);
        EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(s(" ")).toStdString();
        EXPECT_TRUE(Forms::IsLoaded<frmBackUp>() && !wizard().OnSecondPage());
        EXPECT_TRUE(Forms::IsLoaded<frmMain>());
    }

    // Another ending closes the wizard and the main window and changes nothing.
    for (const char* name : {"copy.TSSP", "copy.txt"}) {
        WriteFile(home(name), good);
        restore(home(name));
        EXPECT_FALSE(Forms::IsLoaded<frmBackUp>());
        EXPECT_FALSE(Forms::IsLoaded<frmMain>());
        ASSERT_TRUE(phones().Close().Ok());
        EXPECT_EQ(ReadFile(DatabasePath(DataKind::Phones)), live);
    }
}

// The backup is checked on a worker thread while the wizard waits: Next does
// nothing meanwhile, and leaving the wizard then drops the restore and its copy.
TEST_F(Backup, ARestoreLeftWhileItsBackupIsCheckedChangesNothing)
{
    addTask(s("2026-12-01"), s("Backed up"), false);
    ASSERT_TRUE(DatabaseCopy::BackupTo(tasks(), home("tasks.tssb")).Ok());
    addTask(s("2026-12-02"), s("Added later"), false);
    ASSERT_TRUE(tasks().Close().Ok());
    const QByteArray live = ReadFile(DatabasePath(DataKind::Tasks));
    startRestore(home("tasks.tssb"));
    ASSERT_TRUE(wizard().Restoring());
    wizard().cmdNext->click();
    EXPECT_TRUE(FileDialog::AskedForTests().size() == 1);
    wizard().cmdCancel->click();
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(ReadFile(DatabasePath(DataKind::Tasks)), live);
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(s(" ")).toStdString();
    EXPECT_EQ(count(tasks(), "tbl_Business"), 2);
}

TEST_F(Backup, ABackupThatCannotBeWrittenKeepsTheOlderFileAndRecordsNothing)
{
    addTask(s("2026-12-01"), s("Call"), false);
    const QString folder = home("readonly");
    WriteFile(folder + s("/old.tssb"), "older backup");
    ::chmod(QFile::encodeName(folder).constData(), 0555);
    backUp(2, folder + s("/old.tssb"));
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    EXPECT_TRUE(messages().value(0).startsWith(GetLangText(s("mes374"))));
    EXPECT_EQ(ReadFile(folder + s("/old.tssb")), "older backup");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{s("old.tssb")});
    EXPECT_EQ(lastBackup(), s("<none>"));
    EXPECT_TRUE(Forms::IsLoaded<frmBackUp>() && wizard().OnSecondPage());
    EXPECT_EQ(count(tasks(), "tbl_Business"), 1);
}

// An events backup carries its events' and categories' entries; the program's own
// (the last backup time, the autostart value) stay as they stand. A backup made
// before the entries moved into the database keeps the current ones of its events,
// and the closing message says that the others were not in it.
TEST_F(Backup, ARestoreBringsBackTheEntriesOfItsEventsAndKeepsTheProgramsOwn)
{
    const auto value = [](const QString& path) {
        QString text;
        return RegRead(ProgramKey() + path, &text) == ReadResult::Found ? text : s("<none>");
    };
    const auto set = [](const QString& path, const char* text) { ASSERT_TRUE(RegWrite(ProgramKey() + path, s(text))); };
    const QString kept = QString::number(addRow(s("Work"), s("Kept"), QDate(2026, 12, 18)));
    set(s("Special\\") + kept + s("\\NextType"), "w");
    set(s("InAdvance\\") + kept, "15");
    set(s("Measures\\Work\\NextType"), "d");
    ASSERT_TRUE(DatabaseCopy::BackupTo(db(), home("events.tssv")).Ok());
    WriteFile(home("older.tssv"), ReadFile(home("events.tssv")));
    {
        Connection older;
        ASSERT_TRUE(older.Open(home("older.tssv"), s("qk_mirtolven")).Ok());
        ASSERT_TRUE(older.Execute(s("DROP TABLE registry")).Ok());
    }

    struct Case {
        const char* file;
        const char* special;   // the kept event's own rule afterwards
        const char* category;  // the category's rule afterwards
        QString message;
    };
    const QString restored = GetLangText(s("mes51"));
    for (const Case& c : {Case{"events.tssv", "w", "d", restored},
                          Case{"older.tssv", "M", "n", restored + s("\r\n") + GetLangText(s("mes399"))}}) {
        SCOPED_TRACE(c.file);
        const QString gone = QString::number(addRow(s("Work"), s("Gone"), QDate(2026, 12, 19)));
        set(s("Special\\") + kept + s("\\NextType"), "M");
        set(s("InAdvance\\") + gone, "5");
        set(s("Measures\\Work\\NextType"), "n");
        set(s("TsSave"), "10.12.2026 9:00:00/Tasks");
        ASSERT_TRUE(RegWrite(AutostartValuePath(), s("/opt/tessaryn/tesryn")));
        MsgBoxScript::Clear();
        restore(home(c.file));
        EXPECT_EQ(messages(), QStringList{c.message});
        EXPECT_EQ(MsgBoxScript::Log().value(0).buttons, 64);
        EXPECT_EQ(value(s("Special\\") + kept + s("\\NextType")), s(c.special));
        EXPECT_EQ(value(s("InAdvance\\") + kept), s("15"));
        EXPECT_EQ(value(s("InAdvance\\") + gone), s("<none>"));
        EXPECT_EQ(value(s("Measures\\Work\\NextType")), s(c.category));
        EXPECT_EQ(value(s("TsSave")), s("10.12.2026 9:00:00/Tasks"));
        QString autostart;
        EXPECT_EQ(RegRead(AutostartValuePath(), &autostart), ReadResult::Found);
        EXPECT_EQ(autostart, s("/opt/tessaryn/tesryn"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// A restore killed while it stages its copy (the child may write files of 16 KiB at
// most and is ended by the longer write) leaves the live file as it was; the next
// start removes the staged copy, and the next restore of that file succeeds.
TEST_F(Backup, ARestoreKilledWhileItStagesLeavesTheLiveFileAndTheNextOneSucceeds)
{
    addRow(s("Work"), s("In the backup"), QDate(2026, 12, 18));
    ASSERT_TRUE(DatabaseCopy::BackupTo(db(), home("events.tssv")).Ok());
    addRow(s("Work"), s("Added later"), QDate(2026, 12, 19));
    EndDataEnvironment();
    const QByteArray live = ReadFile(DatabasePath(DataKind::Events));
    const int status = RunLimitedChild(16384, true, [&] {
        std::ignore = Restore(DataKind::Events, home("events.tssv"));
        return 0;
    });
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(ReadFile(DatabasePath(DataKind::Events)), live);
    EXPECT_FALSE(leftovers().isEmpty());
    RemoveLeftOvers();
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(s(" ")).toStdString();
    restore(home("events.tssv"));
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes51"))});
    EXPECT_EQ(count(db(), "lst_Dates"), 1);
}

// A backup killed while it wrote left "<target>.part<pid>" in the user's folder: the
// next backup to that target removes it, and nothing of another name.
TEST_F(Backup, TheNextBackupToATargetRemovesWhatAKilledOneLeftBesideIt)
{
    addTask(s("2026-12-01"), s("Call"), false);
    const QStringList leftOvers = {s("copy.tssb.part4711"), s("copy.tssb.part4711-journal")};
    const QStringList kept = {s("copy.tssb.partial"), s("other.tssb.part4711"), s("copy.tssb.part4711.txt")};
    for (const QString& name : leftOvers + kept)
        WriteFile(home("") + name, "x");
    backUp(2, home("copy.tssb"));
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes49"))});
    QStringList expected = kept + QStringList{s("copy.tssb")};
    expected.sort();
    EXPECT_EQ(QDir(home("")).entryList(QDir::Files, QDir::Name), expected);
}

// A disk that fills up: a child process may write files of 4 KiB at most, and a
// longer write fails instead of ending it.
TEST_F(Backup, AFullDiskFailsBothWaysAndTheLiveFileStays)
{
    addTask(s("2026-12-01"), s("Call"), false);
    ASSERT_TRUE(DatabaseCopy::BackupTo(tasks(), home("good.tssb")).Ok());
    WriteFile(home("old.tssb"), "older backup");
    EndDataEnvironment();
    const QByteArray live = ReadFile(DatabasePath(DataKind::Tasks));
    const int status = RunLimitedChild(4096, false, [&] {
        const bool backupFailed = BackUp(DataKind::Tasks, home("old.tssb")) == CopyOutcome::WriteFailed;
        const bool restoreFailed = Restore(DataKind::Tasks, home("good.tssb")) == CopyOutcome::WriteFailed;
        return backupFailed && restoreFailed ? 0 : 1;
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(ReadFile(home("old.tssb")), "older backup");
    EXPECT_EQ(QDir(home("")).entryList({s("*.part*")}, QDir::Files), QStringList());
    EXPECT_EQ(ReadFile(DatabasePath(DataKind::Tasks)), live);
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(s(" ")).toStdString();
    EXPECT_EQ(lastBackup(), s("<none>"));
    EXPECT_EQ(count(tasks(), "tbl_Business"), 1);
}

}  // namespace
