#include "TestEnv.h"

#include "core/DataEnvironment.h"
#include "core/FolderFileExists.h"
#include "core/frmProcess.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"
#include "platform/TrayIcon.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

namespace {

const char* const Variables[] = {"APPDATA", "CommonProgramFiles", "XDG_DATA_HOME", "XDG_CONFIG_HOME",
                                 "HOME", "USERPROFILE", "Username", "USER", "TESSARYN_LEGACY_FOLDER"};

void copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QString& name : FileSystem::FileNames(from))
        QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name);
    for (const QString& name : FileSystem::FolderNames(from))
        copyTree(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name);
}

}  // namespace

TestEnv::TestEnv()
{
    const QString root = dir_.path();
    qputenv("APPDATA", (root + QStringLiteral("/appdata")).toUtf8());
    qputenv("CommonProgramFiles", (root + QStringLiteral("/common")).toUtf8());
    qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toUtf8());
    qputenv("HOME", (root + QStringLiteral("/home")).toUtf8());
    qputenv("USERPROFILE", (root + QStringLiteral("/home")).toUtf8());
    qputenv("Username", "tester");
    qputenv("USER", "tester");
    qunsetenv("TESSARYN_LEGACY_FOLDER");
    QDir().mkpath(root + QStringLiteral("/home"));
    copyTree(BuildShare() + QStringLiteral("/Tessaryn"), InstallTree());
    KnownFolders::SetProgramFolder(BuildShare());
    Clock::Reset();
    MsgBoxScript::Clear();
    MsgBoxScript::SetAutomatic(true);
    Shell::SetRecording(true);
    TrayIcon::ResetForTests();
    EndDataEnvironment();
}

TestEnv::~TestEnv()
{
    EndDataEnvironment();
    for (Form* form : Forms::Loaded())
        delete form;
    TrayIcon::ResetForTests();
    MsgBoxScript::Clear();
    Clock::Reset();
}

QString TestEnv::UserData() const { return Root() + QStringLiteral("/appdata/Tessaryn"); }
QString TestEnv::InstallTree() const { return Root() + QStringLiteral("/common/Tessaryn"); }
QString TestEnv::Shared() const { return ConfigHome() + QStringLiteral("/Tessaryn"); }
QString TestEnv::ConfigHome() const { return Root() + QStringLiteral("/config"); }

void TestEnv::PrepareUser(const QString& language)
{
    CopyDataTree(InstallTree());
    frmProcess& process = Forms::LoadWithoutLoadRoutine<frmProcess>();
    process.AppPath = KnownFolders::ProgramFolder();
    process.LanguageName = language;
    process.TimeFormat = QStringLiteral("H:mm");
    process.ProgramVersion = QStringLiteral("3.30");
}

QProcessEnvironment TestEnv::ProcessEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : Variables) {
        const QString value = qEnvironmentVariable(name);
        if (value.isEmpty())
            env.remove(QString::fromLatin1(name));
        else
            env.insert(QString::fromLatin1(name), value);
    }
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TESSARYN_MSGBOX_ANSWER"), QStringLiteral("default"));
    env.insert(QStringLiteral("TESSARYN_SHELL_RECORD"), QStringLiteral("1"));
    env.insert(QStringLiteral("TESSARYN_SITE_BASE"), QStringLiteral("http://127.0.0.1:9/"));
    return env;
}

QString TestEnv::Executable() { return QStringLiteral(TESSARYN_EXECUTABLE); }

QString TestEnv::BuildShare() { return QStringLiteral(TESSARYN_BUILD_SHARE); }

void WriteFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(data);
}

bool PumpUntil(const std::function<bool()>& condition, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}
