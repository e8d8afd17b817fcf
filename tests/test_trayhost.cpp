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

#include <memory>

namespace {

QWidget* shownWindow(const char* className)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && QLatin1String(window->metaObject()->className()) == QLatin1String(className))
            return window;
    }
    return nullptr;
}

QWidget* shownBalloon() { return shownWindow("QBalloonTip"); }

class TrayHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X display";
        trayer_ = QStandardPaths::findExecutable(QStringLiteral("trayer"));
        if (trayer_.isEmpty())
            GTEST_SKIP() << "needs trayer";
    }
    void TearDown() override
    {
        TrayIcon::ResetForTests();
        stopHost();
    }

    void startHost()
    {
        host_ = std::make_unique<QProcess>();
        host_->start(trayer_, {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                               QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("request")});
        ASSERT_TRUE(host_->waitForStarted());
    }
    void stopHost()
    {
        if (!host_)
            return;
        host_->kill();  // as a panel that crashes
        host_->waitForFinished();
        host_.reset();
    }

    TestEnv env;
    QString trayer_;
    std::unique_ptr<QProcess> host_;
};

}  // namespace

// The host takes the icon in a moment after it is shown; the first start's balloon,
// asked for before that, must still point at the icon and not at the screen's corner.
TEST_F(TrayHost, ABalloonAskedForAsTheIconIsAddedShowsBesideTheIcon)
{
    startHost();
    ASSERT_TRUE(PumpUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }));

    TrayIcon::Add(ResourceIcon(QStringLiteral("RES_0")), QStringLiteral("Tessaryn"));
    TrayIcon::ShowBalloon(QStringLiteral("Tessaryn"), QStringLiteral("Welcome"), 1);
    ASSERT_TRUE(PumpUntil([] { return shownBalloon() != nullptr; }));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_GT(shownBalloon()->geometry().center().x(), screen.center().x());
}

// A host that ends leaves no icon: the program counts it as none, and its notices go
// to the notification service; the next host that comes shows the icon again.
TEST_F(TrayHost, AHostThatGoesCountsAsNoneAndTheIconComesBackWithTheNext)
{
    TrayIcon::SetHostWait(60000);
    TrayIcon::Add(ResourceIcon(QStringLiteral("RES_0")), QStringLiteral("Tessaryn"));
    for (int round = 0; round < 2; ++round) {
        startHost();
        // In the host, at the top right of the screen.
        const int middle = QGuiApplication::primaryScreen()->geometry().center().x();
        ASSERT_TRUE(PumpUntil([middle] {
            const QWidget* icon = shownWindow("QSystemTrayIconSys");
            return TrayIcon::IsVisibleInTray() && icon && icon->mapToGlobal(QPoint()).x() > middle;
        })) << round;
        stopHost();
        ASSERT_TRUE(PumpUntil([] { return !TrayIcon::IsVisibleInTray(); })) << round;
        ::testing::internal::CaptureStderr();
        TrayIcon::ShowBalloon(QStringLiteral("Tessaryn"), QStringLiteral("while away"), 1);
        PumpUntil([] { return false; }, 200);
        const QString errors = QString::fromStdString(::testing::internal::GetCapturedStderr());
        EXPECT_TRUE(errors.contains(QStringLiteral("notice not shown"))) << errors.toStdString();
        EXPECT_TRUE(errors.contains(QStringLiteral("while away"))) << errors.toStdString();
        EXPECT_TRUE(TrayIcon::HeldBalloons().isEmpty());
    }
}
