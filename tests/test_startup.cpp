#include "core/FolderFileExists.h"
#include "core/Options.h"
#include "core/RegData.h"
#include "core/SourceText.h"
#include "core/SystemCharset.h"
#include "core/XMLParser.h"
#include "core/frmProcess.h"
#include "mainwin/MeasureRecord.h"
#include "tools/NoteStore.h"
#include "support/HttpServer.h"
#include "platform/Connection.h"
#include "support/TestEnv.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

namespace {

// The real program, started in the test's folders.
class Program {
public:
    Program(const TestEnv& env, const QStringList& arguments = {}, const QString& executable = TestEnv::Executable())
    {
        process_.setProcessEnvironment(env.ProcessEnvironment());
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(executable, arguments);
        process_.waitForStarted();
    }
    ~Program()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    bool Finished(int ms) { return process_.waitForFinished(ms); }
    int ExitCode() const { return process_.exitCode(); }
    QString Output() { return QString::fromUtf8(process_.readAll()); }
    QProcess& Process() { return process_; }

private:
    QProcess process_;
};

// Waits up to ms for a condition that the running program makes true.
template <class Condition>
bool waitFor(Condition condition, int ms = 15000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        QThread::msleep(30);
    }
    return true;
}

QString text(const QString& path) { return QString::fromUtf8(ReadFile(path)); }

// The mode bits of a path itself in octal, "none" when there is none.
std::string modeOf(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return "none";
    return QString::number(info.st_mode & 07777, 8).toStdString();
}

// Starts the program with the main window in a profile; true once the start is over:
// the window is shown, which the start does last.
bool startsUp(const QString& executable, QProcessEnvironment environment, QString* output)
{
    environment.insert(s("TESSARYN_EXPOSE_PROBE"), s("1"));  // ends the program at the window's first picture
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(executable, {s("-fw")});
    const bool ended = program.waitForFinished(15000);
    if (!ended) {
        program.kill();
        program.waitForFinished();
    }
    *output = QString::fromUtf8(program.readAll());
    static const QRegularExpression shown(s("^\\d+\\.\\d$"), QRegularExpression::MultilineOption);
    return ended && program.exitCode() == 0 && output->contains(shown);
}

// The program has run its start: the marker a second start leaves is taken.
bool takesMarker(const TestEnv& env)
{
    const QString marker = env.UserData() + s("/open2.set");
    WriteFile(marker, "");
    return waitFor([&] { return !QFile::exists(marker); });
}

}  // namespace

// Started from the build tree, the program does not register itself for login.
TEST(Startup, FirstStartFillsTheUserFolderAndRecordsTheVersion)
{
    TestEnv env;
    QString output;
    ASSERT_TRUE(startsUp(TestEnv::Executable(), env.ProcessEnvironment(), &output)) << output.toStdString();
    EXPECT_TRUE(QFile::exists(env.UserData() + s("/System/tesryn.db")));
    EXPECT_TRUE(QDir(env.UserData() + s("/Notes")).exists());
    EXPECT_TRUE(QDir(env.UserData() + s("/System/Icons")).exists());
    EXPECT_TRUE(text(env.UserData() + s("/options.ini")).contains(s("fstart=Y\r\n")));
    EXPECT_TRUE(text(env.UserData() + s("/options.ini")).contains(QRegularExpression(s("fday=[MS]\r\n"))));
    EXPECT_TRUE(text(env.Shared() + s("/main.xml")).contains(s(">3.30<")));
    EXPECT_FALSE(QFile::exists(env.ConfigHome() + s("/autostart/tessaryn.desktop")));
}

TEST(Startup, SecondStartLeavesTheMarkerAndEndsAtOnceAndTheFirstTakesIt)
{
    TestEnv env;
    Program first(env);
    ASSERT_TRUE(takesMarker(env)) << first.Output().toStdString();
    const QString marker = env.UserData() + s("/open2.set");
    Program second(env);
    ASSERT_TRUE(second.Finished(5000));
    EXPECT_EQ(second.ExitCode(), 0);
    EXPECT_TRUE(waitFor([&] { return !QFile::exists(marker); }));
    EXPECT_FALSE(first.Finished(100));
}

TEST(Startup, MissingLangIniEndsWithItsFixedMessage)
{
    TestEnv env;
    QFile::remove(env.InstallTree() + s("/lang.ini"));
    Program program(env);
    ASSERT_TRUE(program.Finished(15000));
    EXPECT_EQ(program.ExitCode(), 1);
    EXPECT_TRUE(program.Output().contains(s("There is no access to a file of options of the program: ")
                                          + env.UserData() + s("/lang.ini")));
}

TEST(Startup, MissingLanguageFileEndsWithItsFixedMessage)
{
    TestEnv env;
    WriteFile(env.UserData() + s("/lang.ini"), "[Main]\r\nLanguage=Klingon\r\n");
    Program program(env);
    ASSERT_TRUE(program.Finished(15000));
    EXPECT_EQ(program.ExitCode(), 1);
    const QString output = program.Output();
    EXPECT_TRUE(output.contains(s("There is no access to a language file of the program: "))) << output.toStdString();
    EXPECT_TRUE(output.contains(s("/Language/Klingon.ini"))) << output.toStdString();
}

TEST(Startup, CyrillicLanguageOnAnAsciiLocaleFallsBackToEnglish)
{
    TestEnv env;
    WriteFile(env.UserData() + s("/lang.ini"), "[Main]\r\nLanguage=Russian\r\n");
    QProcessEnvironment environment = env.ProcessEnvironment();
    environment.insert(s("LC_ALL"), s("C"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(TestEnv::Executable(), {});
    ASSERT_TRUE(waitFor([&] { return text(env.UserData() + s("/lang.ini")).contains(s("Language=English")); }));
    process.kill();
    process.waitForFinished();
    EXPECT_TRUE(QString::fromUtf8(process.readAll()).contains(s("Language of the program will be set to English.")));
}

// On an update-check day a server that never answers holds up neither the first
// windows nor the program once its check has started.
TEST(Startup, OnACheckDayAHangingServerHoldsUpNeitherTheWindowsNorTheProgram)
{
    TestEnv env;
    HttpServer server;
    server.ServeDefault({200, "", HttpServer::Never});
    QProcessEnvironment environment = env.ProcessEnvironment();
    environment.insert(s("TESSARYN_CLOCK"), s("2026-12-12T10:00:00"));
    environment.insert(s("TESSARYN_SITE_BASE"), server.Base() + s("/"));

    // The main window's first picture, timed by the program itself, which then ends.
    QProcess shown;
    QProcessEnvironment probed = environment;
    probed.insert(s("TESSARYN_EXPOSE_PROBE"), QString::number(QDateTime::currentMSecsSinceEpoch() * 1000000));
    shown.setProcessEnvironment(probed);
    shown.start(TestEnv::Executable(), {s("-fw")});
    ASSERT_TRUE(shown.waitForFinished(20000));
    bool measured = false;
    const double ms = QString::fromUtf8(shown.readAllStandardOutput()).trimmed().toDouble(&measured);
    ASSERT_TRUE(measured);
    // Well below the 15 s that waiting for the unanswered check would take, also on a
    // loaded machine.
    EXPECT_LT(ms, 10000);

    QProcess running;
    running.setProcessEnvironment(environment);
    running.start(TestEnv::Executable(), {});
    ASSERT_TRUE(waitFor([&] { return server.Requests().contains(s("/tessaryn/tsversion.txt")); }, 10000));
    // While the check hangs, a second start is taken up long before its 15 s limit.
    const QString marker = env.UserData() + s("/open2.set");
    Program second(env);
    ASSERT_TRUE(second.Finished(5000));
    EXPECT_TRUE(waitFor([&] { return !QFile::exists(marker); }, 5000));
    running.kill();
    running.waitForFinished();
}

namespace {

// The program installed once into a temporary prefix, for every test of this suite.
class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        prefixDir_ = new QTemporaryDir;
        QProcess install;
        install.start(s("cmake"), {s("--install"), QStringLiteral(TESSARYN_BUILD_DIR), s("--prefix"), prefix()});
        ASSERT_TRUE(install.waitForFinished(120000));
        ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
    }
    static void TearDownTestSuite() { delete prefixDir_; }

    static QString prefix() { return prefixDir_->path(); }
    static QString installedProgram() { return prefix() + s("/bin/tesryn"); }

    // The environment of a fresh profile: its own data, settings and home folders, and
    // the data tree of the program that runs.
    QProcessEnvironment profile(const QString& name) const
    {
        QProcessEnvironment environment = env.ProcessEnvironment();
        const QString root = env.Root() + s("/") + name;
        for (const char* variable : {"APPDATA", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "HOME", "USERPROFILE"})
            environment.insert(s(variable), root + s("/") + s(variable));
        environment.remove(s("CommonProgramFiles"));
        QDir().mkpath(root + s("/HOME"));
        return environment;
    }

    TestEnv env;

private:
    static inline QTemporaryDir* prefixDir_ = nullptr;
};

// Every file of a folder with its contents.
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, ReadFile(path));
    }
    return files;
}

// The mode bits of every file and folder under a folder, links not followed.
QMap<QString, std::string> modesUnder(const QString& folder)
{
    QMap<QString, std::string> modes;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        modes.insert(path, modeOf(path));
    }
    return modes;
}

// Each path of known (under root) has its mode; everything else under the folders is
// the user's alone.
void expectModes(const QString& root, const QMap<QString, std::string>& known, const QStringList& folders)
{
    for (auto it = known.cbegin(); it != known.cend(); ++it)
        EXPECT_EQ(modeOf(root + QLatin1Char('/') + it.key()), it.value()) << it.key().toStdString();
    for (const QString& folder : folders) {
        const QMap<QString, std::string> modes = modesUnder(root + QLatin1Char('/') + folder);
        for (auto it = modes.cbegin(); it != modes.cend(); ++it) {
            if (!known.contains(QDir(root).relativeFilePath(it.key())))
                EXPECT_EQ(it.value(), QFileInfo(it.key()).isDir() ? "700" : "600") << it.key().toStdString();
        }
    }
}

}  // namespace

TEST_F(Installed, ProgramRunsFromItsPrefix)
{
    ASSERT_TRUE(QFile::exists(prefix() + s("/share/tessaryn/Language/English.ini")));
    ASSERT_TRUE(QFile::exists(prefix() + s("/share/tessaryn/Help/enhelp.pdf")));
    // The shipped reminder sound is named where the install put it.
    EXPECT_TRUE(text(prefix() + s("/share/tessaryn/Tessaryn/options.ini"))
                    .contains(s("musicpath=") + prefix() + s("/share/tessaryn/Sounds/reminder.wav\r\n")));
    EXPECT_TRUE(QFile::exists(prefix() + s("/share/tessaryn/Sounds/reminder.wav")));
    for (const char* module : {"libtessaryn_sound.so", "libtessaryn_net.so"})
        EXPECT_TRUE(QFile::exists(prefix() + s("/lib/tessaryn/") + s(module))) << module;

    // The installed program finds its own data tree: no CommonProgramFiles override.
    const QProcessEnvironment environment = profile(s("user"));
    QString output;
    ASSERT_TRUE(startsUp(installedProgram(), environment, &output)) << output.toStdString();
    const QString appData = environment.value(s("APPDATA"));
    EXPECT_TRUE(QFile::exists(appData + s("/Tessaryn/System/tesryn.db")));
    const QString autostart = text(environment.value(s("XDG_CONFIG_HOME")) + s("/autostart/tessaryn.desktop"));
    EXPECT_TRUE(autostart.contains(installedProgram()));
    EXPECT_TRUE(autostart.contains(s("\nIcon=tessaryn\n")));
}

TEST_F(Installed, TheApplicationMenuHasAnEntryWithTheProgramsIcon)
{
    const QString entry = prefix() + s("/share/applications/tessaryn.desktop");
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(s("desktop-file-validate"), {entry});
    ASSERT_TRUE(validate.waitForFinished(30000));
    EXPECT_EQ(validate.exitCode(), 0);
    EXPECT_TRUE(validate.readAll().isEmpty());
    const QString lines = text(entry);
    EXPECT_TRUE(lines.contains(s("\nExec=\"") + installedProgram() + s("\" -fw\n"))) << lines.toStdString();
    EXPECT_TRUE(lines.contains(s("\nIcon=tessaryn\n")));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage icon(prefix() + QStringLiteral("/share/icons/hicolor/%1x%1/apps/tessaryn.png").arg(size));
        EXPECT_EQ(icon.size(), QSize(size, size)) << size;
    }
}

TEST_F(Installed, EveryLaterProfileStartsAndTheDataTreeStaysAsItWas)
{
    const struct {
        QString program;
        QString dataTree;
    } installs[] = {
        {installedProgram(), prefix() + s("/share/tessaryn")},
        {TestEnv::Executable(), TestEnv::BuildShare()},
    };
    for (int i = 0; i < 2; ++i) {
        const auto& install = installs[i];
        const QMap<QString, QByteArray> before = snapshot(install.dataTree);
        ASSERT_TRUE(before.contains(install.dataTree + s("/Tessaryn/lang.ini")));
        for (const char* name : {"first", "second"}) {
            QString output;
            EXPECT_TRUE(startsUp(install.program, profile(QString::number(i) + s(name)), &output))
                << install.program.toStdString() << " " << name << ": " << output.toStdString();
        }
        EXPECT_TRUE(snapshot(install.dataTree) == before) << install.dataTree.toStdString();
    }
}

// The installed program registers itself for login, and later starts keep what the
// user made of the entry; an entry left by a build tree's program, or by a program
// that is gone, is taken over.
TEST_F(Installed, LoginRegistrationReplacesOnlyAnEntryWhoseProgramIsGoneOrInABuildTree)
{
    const QString installed = DesktopExecArgument(installedProgram());
    const QString built = DesktopExecArgument(TestEnv::Executable());
    const struct {
        const char* name;
        QString entry;  // empty: none
        bool replaced;
    } cases[] = {
        {"none", {}, true},
        {"gone", s("[Desktop Entry]\nType=Application\nExec=/nowhere/bin/tesryn\n"), true},
        {"build tree", s("[Desktop Entry]\nType=Application\nExec=") + built + s("\n"), true},
        {"no program", s("[Desktop Entry]\nType=Application\n"), true},
        {"hidden", s("[Desktop Entry]\nExec=") + built + s("\nHidden=true\n"), false},
        {"switched off", s("[Desktop Entry]\nExec=/nowhere/tesryn\nX-GNOME-Autostart-enabled=false\n"), false},
        {"the user's arguments", s("[Desktop Entry]\nType=Application\nExec=") + installed + s(" -fw\n"), false},
    };
    for (const auto& c : cases) {
        const QProcessEnvironment environment = profile(s(c.name).replace(QLatin1Char(' '), QLatin1Char('-')));
        const QString entryPath = environment.value(s("XDG_CONFIG_HOME")) + s("/autostart/tessaryn.desktop");
        if (!c.entry.isEmpty())
            WriteFile(entryPath, c.entry.toUtf8());
        QString output;
        ASSERT_TRUE(startsUp(installedProgram(), environment, &output)) << c.name << ": " << output.toStdString();
        const QString entry = text(entryPath);
        if (c.replaced)
            EXPECT_TRUE(entry.contains(s("\nExec=") + installed + s("\n"))) << c.name << ": " << entry.toStdString();
        else
            EXPECT_EQ(entry, c.entry) << c.name;
    }
}

// Under the usual umask a profile is the user's alone: each folder the program makes
// in its data and configuration folders is 0700 and each file it writes there 0600, a
// rewritten file included. A later start closes an older profile's two folders and
// touches nothing else; the autostart entry and the installed tree keep their modes.
TEST_F(Installed, UnderAWideUmaskEverythingInTheProgramsOwnFoldersIsTheUsersAlone)
{
    const mode_t umaskBefore = ::umask(022);
    QProcessEnvironment environment = env.ProcessEnvironment();
    environment.remove(s("CommonProgramFiles"));
    const QString data = s("appdata/Tessaryn"), config = s("config/Tessaryn");
    const auto path = [&](const QString& relative) { return env.Root() + s("/") + relative; };
    const auto widen = [&](const QStringList& entries) {
        for (const QString& entry : entries)
            ::chmod(QFile::encodeName(path(entry)).constData(), QFileInfo(path(entry)).isDir() ? 0755 : 0644);
    };
    const auto start = [&] {
        QString output;
        EXPECT_TRUE(startsUp(installedProgram(), environment, &output)) << output.toStdString();
    };
    const QMap<QString, std::string> installedModes = modesUnder(prefix());
    Forms::LoadWithoutLoadRoutine<frmProcess>().LanguageName = s("English");
    const struct {
        const char* step;
        std::function<void()> act;
        QMap<QString, std::string> modes;  // of what the step makes or must leave as it is
    } steps[] = {
        {"first start",
         [&] {
             WriteFile(path(config + s("/registry.reg")), "[HKEY_CURRENT_USER\\SOFTWARE\\Kelmaro Soft\\Tessaryn]\r\n"
                                                          "\"TsSave\"=\"1\"\r\n");
             widen({config});
             start();
         },
         {{data, "700"}, {data + s("/options.ini"), "600"}, {data + s("/lang.ini"), "600"},
          {data + s("/tessaryn.lock"), "600"}, {data + s("/System"), "700"}, {data + s("/System/tesryn.db"), "600"},
          {data + s("/System/Own/English.ini"), "600"}, {data + s("/System/Icons"), "700"}, {data + s("/Notes"), "700"},
          {config, "700"}, {config + s("/main.xml"), "600"}, {config + s("/registry.reg.imported"), "600"},
          {s("config"), "755"}, {s("config/autostart"), "755"}, {s("config/autostart/tessaryn.desktop"), "644"}}},
        {"note save",
         [] {
             EXPECT_EQ(CreateGroup(s("Work")), GroupChange::Done);
             EXPECT_TRUE(WriteNoteFile(GroupFolder(s("Work")) + s("/Plan.rtf"), "{\\rtf1 Plan}"));
         },
         {{data + s("/Notes/Work"), "700"}, {data + s("/Notes/Work/Plan.rtf"), "600"}}},
        {"category save",
         [&] {
             widen({data + s("/System/Own/English.ini")});
             EXPECT_TRUE(CopyIconFile(TestEnv::BuildShare() + s("/Icons/Work.ico"), s("Garden")));
             EXPECT_TRUE(SetOwnText(s("evn1"), s("Dates")));
         },
         {{data + s("/System/Icons/Garden.ico"), "600"}}},
        {"settings write",
         [&] {
             widen({data + s("/options.ini"), data + s("/lang.ini"), config + s("/main.xml")});
             EXPECT_TRUE(WriteOption(s("General"), s("wcityid"), s("27612")));
             // A choice and back, each a write.
             EXPECT_TRUE(WriteLangIni(s("Main"), s("Language"), s("Russian")));
             EXPECT_TRUE(WriteLangIni(s("Main"), s("Language"), s("English")));
             WriteMainXml(s("Version"), s("3.30"));
         },
         {}},
        {"later start of an older profile",
         [&] {
             widen({data, config, data + s("/Notes")});
             WriteFile(path(data + s("/Notes/Old.rtf")), "{\\rtf1 Old}");
             start();
         },
         {{data + s("/Notes"), "755"}, {data + s("/Notes/Old.rtf"), "644"}}},
    };
    QMap<QString, std::string> known;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        step.act();
        known.insert(step.modes);
        expectModes(env.Root(), known, {data, config});
    }
    EXPECT_EQ(modesUnder(prefix()), installedModes);
    ::umask(umaskBefore);
}

// The first start of a profile takes the desktop's language when the program has it
// and the locale can show it, and never changes the user's choice later.
TEST(Startup, ANewProfileSpeaksTheLanguageOfTheLocale)
{
    TestEnv env;
    const QByteArray installed = "[Main]\r\nLanguage=English\r\n; as installed\r\n";
    WriteFile(env.InstallTree() + s("/lang.ini"), installed);
    const QByteArray russian = "[Main]\r\nLanguage=Russian\r\n";
    const struct {
        const char* variable;
        const char* locale;
        const char* codeset;
        QByteArray langIni;
    } cases[] = {
        {"LC_ALL", "ru_RU.UTF-8", "UTF-8", russian},
        {"LC_MESSAGES", "ru_RU.KOI8-R", "KOI8-R", russian},
        {"LANG", "ru_UA", "UTF-8", russian},
        {"LANG", "ru_RU.ISO-8859-1", "ISO-8859-1", installed},  // no Cyrillic
        {"LANG", "uk_UA.UTF-8", "UTF-8", installed},            // no Ukrainian file
        {"LANG", "be_BY.UTF-8", "UTF-8", installed},
        {"LANG", "de_DE.UTF-8", "UTF-8", installed},
        {"LANG", "C.UTF-8", "UTF-8", installed},
        {"LANG", "", "UTF-8", installed},
    };
    const QByteArray before = qgetenv("LC_ALL");
    const QString langIni = env.UserData() + s("/lang.ini");
    for (const auto& c : cases) {
        for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
            qunsetenv(variable);
        qputenv(c.variable, c.locale);
        SetSystemCodeset(c.codeset);
        QFile::remove(langIni);
        CopyDataTree(env.InstallTree());
        EXPECT_EQ(ReadFile(langIni), c.langIni) << c.locale;
    }
    // A choice made stays.
    WriteFile(langIni, "[Main]\r\nLanguage=English\r\n");
    qputenv("LC_ALL", "ru_RU.UTF-8");
    CopyDataTree(env.InstallTree());
    EXPECT_EQ(ReadFile(langIni), QByteArray("[Main]\r\nLanguage=English\r\n"));
    qputenv("LC_ALL", before);
    SetSystemCodeset(QByteArray());
}
