// The program's icon in an XEmbed tray (trayer, at the top right of the screen), as
// many desktops have one. The only test on the display: the others run offscreen,
// where no tray host can be seen.
#include "core/Resources.h"
#include "platform/TrayIcon.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

QWidget* shownBalloon()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && QLatin1String(window->metaObject()->className()) == QLatin1String("QBalloonTip"))
            return window;
    }
    return nullptr;
}

}  // namespace

// The host takes the icon in a moment after it is shown; the first start's balloon,
// asked for before that, must still point at the icon and not at the screen's corner.
TEST(TrayHost, ABalloonAskedForAsTheIconIsAddedShowsBesideTheIcon)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X display";
    const QString trayer = QStandardPaths::findExecutable(QStringLiteral("trayer"));
    if (trayer.isEmpty())
        GTEST_SKIP() << "needs trayer";
    QProcess host;
    host.start(trayer, {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                        QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("request")});
    ASSERT_TRUE(host.waitForStarted());
    ASSERT_TRUE(PumpUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }));

    TrayIcon::Add(ResourceIcon(QStringLiteral("RES_0")), QStringLiteral("Tessaryn"));
    TrayIcon::ShowBalloon(QStringLiteral("Tessaryn"), QStringLiteral("Welcome"), 1);
    ASSERT_TRUE(PumpUntil([] { return shownBalloon() != nullptr; }));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_GT(shownBalloon()->geometry().center().x(), screen.center().x());

    TrayIcon::Remove();
    host.terminate();
    host.waitForFinished();
}
