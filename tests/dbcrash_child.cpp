// Child of the crash harness: runs the saves of one case (named by its argument)
// through the program's window routines, one after the other, until it is killed.
// It writes "ready" once it is set up, "begin" right before each save's routine and
// "saved <token>" once the save was acknowledged.
#include "dbcrash/CrashCases.h"

#include "core/Resources.h"
#include "platform/KnownFolders.h"
#include "support/TestEnv.h"

#include <QApplication>

#include <cstdio>

namespace {

void say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    InitResources();
    const CrashCase* crashCase = argc == 2 ? FindCrashCase(QString::fromLocal8Bit(argv[1])) : nullptr;
    if (!crashCase)
        return 2;
    KnownFolders::SetProgramFolder(TestEnv::BuildShare());
    PrepareCrashChild();
    say(QStringLiteral("ready"));
    for (int number = 0;; ++number) {
        const QString token = crashCase->save(number, [] { say(QStringLiteral("begin")); });
        if (!token.isEmpty())
            say(QStringLiteral("saved ") + token);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}
