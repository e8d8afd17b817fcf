#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <functional>

// Fresh temporary folders for every known folder, set through the environment, so
// no test touches the real home folder. The installed data tree is a copy of the
// build's, so tests may change or break it.
class TestEnv {
public:
    TestEnv();
    ~TestEnv();

    QString Root() const { return dir_.path(); }
    QString UserData() const;      // $APPDATA/Tessaryn
    QString InstallTree() const;   // $CommonProgramFiles/Tessaryn
    QString Shared() const;        // $XDG_CONFIG_HOME/Tessaryn
    QString ConfigHome() const;

    // Fills the user's folder from the installed tree and sets the dispatcher's
    // state as start-up would (English, "H:mm"), without running the start-up.
    void PrepareUser(const QString& language = QStringLiteral("English"));

    // The environment for a process of the real program in these folders.
    QProcessEnvironment ProcessEnvironment() const;

    static QString Executable();
    static QString BuildShare();

private:
    QTemporaryDir dir_;
};

// Delivers events until the condition holds; false if ms went by first.
bool PumpUntil(const std::function<bool()>& condition, int ms = 5000);

// Writes a file, creating its folder.
void WriteFile(const QString& path, const QByteArray& data);
QByteArray ReadFile(const QString& path);
