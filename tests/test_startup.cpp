#include "core/Options.h"
#include "core/RegData.h"
#include "platform/Connection.h"
#include "support/TestEnv.h"

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

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

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

}  // namespace

TEST(Startup, FirstStartFillsTheUserFolderAndRecordsVersionAndAutostart)
{
    TestEnv env;
    Program program(env);
    const QString autostart = env.ConfigHome() + s("/autostart/tessaryn.desktop");
    ASSERT_TRUE(waitFor([&] { return QFile::exists(autostart); })) << program.Output().toStdString();
    EXPECT_TRUE(QFile::exists(env.UserData() + s("/System/tesryn.db")));
    EXPECT_TRUE(QDir(env.UserData() + s("/Notes")).exists());
    EXPECT_TRUE(QDir(env.UserData() + s("/System/Icons")).exists());
    EXPECT_TRUE(text(env.UserData() + s("/options.ini")).contains(s("fstart=Y\r\n")));
    EXPECT_TRUE(text(env.UserData() + s("/options.ini")).contains(QRegularExpression(s("fday=[MS]\r\n"))));
    EXPECT_TRUE(text(env.Shared() + s("/main.xml")).contains(s(">3.30<")));
    Connection events;
    ASSERT_TRUE(events.Open(env.UserData() + s("/System/tesryn.db"), s("qk_mirtolven")).Ok());
    QList<QVariantList> autostartRow;
    events.Query(s("SELECT value FROM registry WHERE path = ?"), {AutostartValuePath()}, &autostartRow);
    EXPECT_EQ(autostartRow.size(), 1);
    EXPECT_TRUE(text(autostart).contains(s("Exec=")));
}

TEST(Startup, SecondStartLeavesTheMarkerAndEndsAtOnceAndTheFirstTakesIt)
{
    TestEnv env;
    Program first(env);
    ASSERT_TRUE(waitFor([&] { return QFile::exists(env.ConfigHome() + s("/autostart/tessaryn.desktop")); }));
    const QString marker = env.UserData() + s("/open2.set");
    QElapsedTimer timer;
    timer.start();
    Program second(env);
    ASSERT_TRUE(second.Finished(5000));
    EXPECT_LT(timer.elapsed(), 1000);
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

// Starts the program in a profile; true once it has started up (its autostart entry
// is written) and still runs a moment later.
bool startsUp(const QString& executable, const QProcessEnvironment& environment, QString* output)
{
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(executable, {});
    const QString autostart = environment.value(s("XDG_CONFIG_HOME")) + s("/autostart/tessaryn.desktop");
    const bool started = waitFor([&] { return QFile::exists(autostart) || program.state() == QProcess::NotRunning; })
        && QFile::exists(autostart) && !program.waitForFinished(500);
    program.kill();
    program.waitForFinished();
    *output = QString::fromUtf8(program.readAll());
    return started;
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
    EXPECT_TRUE(QFile::exists(prefix() + s("/lib/tessaryn/libtessaryn_sound.so")));

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
