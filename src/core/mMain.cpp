#include "mMain.h"

#include "Fatal.h"
#include "Resources.h"
#include "SystemCharset.h"
#include "frmProcess.h"
#include "platform/ExposeProbe.h"
#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"

#include <QApplication>
#include <QFile>
#include <QStringList>

#include <tuple>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

enum class InstanceLock { Taken, HeldByAnother, NoDataFolder };

// Held for the whole run; a second start finds it taken.
InstanceLock takeSingleInstanceLock()
{
    const QString folder = KnownFolders::UserDataFolder();
    const QByteArray path = QFile::encodeName(folder + QStringLiteral("/tessaryn.lock"));
    const int fd = FileSystem::MakeFolder(folder) ? ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600) : -1;
    if (fd < 0)
        return InstanceLock::NoDataFolder;
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? InstanceLock::Taken : InstanceLock::HeldByAnother;
}

void leaveSecondStartMarker()
{
    // The running copy finds no marker when it cannot be written: this start then
    // passes unnoticed, as it would have ended anyway.
    std::ignore = FileSystem::WriteAtomic(KnownFolders::UserDataFolder() + QStringLiteral("/open2.set"), {});
}

// A profile made by an earlier version or under a wider umask is closed to other
// users once; the files inside get their own mode as they are rewritten. A folder
// that is not the user's to change stays as it is.
void closeOwnFoldersToOthers()
{
    for (const QString& folder : {KnownFolders::UserDataFolder(), KnownFolders::SharedDataFolder()}) {
        if (FileSystem::IsFolder(folder))
            std::ignore = FileSystem::CloseFolderToOthers(folder);
    }
}

// Positions, opacity and stay-on-top need X11; under Wayland use XWayland.
void preferX11()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

QString arguments(int argc, char** argv)
{
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words.append(QString::fromLocal8Bit(argv[i]));
    return words.join(QLatin1Char(' '));
}

}  // namespace

int Main(int argc, char** argv)
{
    RecordSystemCodeset();
    const InstanceLock lock = takeSingleInstanceLock();
    if (lock == InstanceLock::HeldByAnother) {
        leaveSecondStartMarker();
        return 0;
    }
    if (lock == InstanceLock::Taken)
        closeOwnFoldersToOthers();
    SetCommandLine(arguments(argc, argv));
    preferX11();

    QApplication app(argc, argv);
    InstallExposeProbe();
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("Tessaryn"));
    QApplication::setDesktopFileName(QStringLiteral("tessaryn"));
    InitResources();
    InstallStyle();
    // Without its data folder the program has nowhere to keep anything.
    if (lock == InstanceLock::NoDataFolder)
        FatalEnd(QStringLiteral("There is no access to the data folder of the program: ") + KnownFolders::UserDataFolder());
    Forms::Get<frmProcess>().hide();
    return app.exec();
}
