// The program without a tray host (many desktops have none): it stays reachable, and
// its notices go to the desktop's notification service or are dropped, never held.
#include "core/IconBaloonTray.h"
#include "core/Options.h"
#include "core/SourceText.h"
#include "core/frmProcess.h"
#include "mainwin/frmMain.h"
#include "platform/MsgBox.h"
#include "platform/TrayIcon.h"
#include "support/TestEnv.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// org.freedesktop.Notifications as a desktop would offer it, on a connection of its own.
class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    FakeNotifications()
        : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, s("fake-notifications")))
    {
        bus_.registerObject(s("/org/freedesktop/Notifications"), this, QDBusConnection::ExportAllSlots);
        registered = bus_.registerService(s("org.freedesktop.Notifications"));
    }
    ~FakeNotifications() override
    {
        bus_.unregisterService(s("org.freedesktop.Notifications"));
        bus_.unregisterObject(s("/org/freedesktop/Notifications"));
        QDBusConnection::disconnectFromBus(s("fake-notifications"));
    }

    bool registered = false;
    QList<QStringList> received;  // summary and body

public slots:
    uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap&, int)
    {
        received.append({summary, body});
        return received.size();
    }

private:
    QDBusConnection bus_;
};

// A StatusNotifier watcher that serves a host, as Plasma's or a GNOME extension's. It
// answers from a thread of its own: the program asks it with blocking calls.
class FakeTrayWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
public:
    bool hostRegistered() const { return true; }
};

class TrayWatcherService {
public:
    TrayWatcherService()
        : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, s("fake-tray-watcher")))
    {
        thread_.start();
        watcher_.moveToThread(&thread_);
        bus_.registerObject(s("/StatusNotifierWatcher"), &watcher_, QDBusConnection::ExportAllProperties);
    }
    ~TrayWatcherService()
    {
        Stop();
        QDBusConnection::disconnectFromBus(s("fake-tray-watcher"));
        thread_.quit();
        thread_.wait();
        watcher_.moveToThread(QThread::currentThread());
    }
    bool Start() { return bus_.registerService(s("org.kde.StatusNotifierWatcher")); }
    void Stop() { bus_.unregisterService(s("org.kde.StatusNotifierWatcher")); }

private:
    QDBusConnection bus_;
    QThread thread_;
    FakeTrayWatcher watcher_;
};

class NoTrayHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session";
        TrayIcon::SetHostWait(100);
    }

    // Starts the program in this process as its entry does; the offscreen platform
    // has no tray. The first start holds the "first start" balloon.
    static void start() { Forms::Get<frmProcess>(); }
    static bool mainShown() { return Forms::Find<frmMain>() && Forms::Find<frmMain>()->isVisible(); }

    TestEnv env;
};

}  // namespace

TEST_F(NoTrayHost, HeldAndLaterBalloonsReachTheNotificationService)
{
    FakeNotifications service;
    ASSERT_TRUE(service.registered);
    start();
    ASSERT_TRUE(PumpUntil([&] { return service.received.size() == 1; }));
    EXPECT_EQ(service.received.first(), (QStringList{s("Tessaryn"), GetLangText(s("mes235"))}));
    EXPECT_TRUE(TrayIcon::HeldBalloons().isEmpty());
    EXPECT_TRUE(mainShown());

    TrayBalloon(s("Tessaryn"), s("later"), 1);
    ASSERT_TRUE(PumpUntil([&] { return service.received.size() == 2; }));
    EXPECT_EQ(service.received.last(), (QStringList{s("Tessaryn"), s("later")}));
    EXPECT_TRUE(TrayIcon::HeldBalloons().isEmpty());
}

TEST_F(NoTrayHost, WithoutANotificationServiceBalloonsAreDroppedWithOneLine)
{
    ::testing::internal::CaptureStderr();
    start();
    const bool waited = PumpUntil([] { return mainShown(); });
    const QString errors = QString::fromStdString(::testing::internal::GetCapturedStderr());
    ASSERT_TRUE(waited);
    EXPECT_EQ(errors.count(s("notice not shown")), 1) << errors.toStdString();
    EXPECT_TRUE(errors.contains(GetLangText(s("mes235")))) << errors.toStdString();
    EXPECT_TRUE(TrayIcon::HeldBalloons().isEmpty());
}

TEST_F(NoTrayHost, AfterTheWaitAWindowAlreadyUpIsNotCoveredByTheMainWindow)
{
    TrayIcon::SetHostWait(300);
    start();
    frmProcess& process = Forms::Get<frmProcess>();
    process.show();  // as Ctrl+F10 or a full-window view would be
    QElapsedTimer waited;
    waited.start();
    PumpUntil([&] { return waited.elapsed() > 600; });
    EXPECT_FALSE(Forms::Find<frmMain>() && Forms::Find<frmMain>()->isVisible());
}

// A tray host on the bus that ends (a panel that crashes) counts as none from then on:
// a second start shows the main window, and a host that comes back shows the icon.
TEST_F(NoTrayHost, AStatusNotifierHostThatGoesCountsAsNone)
{
    TrayWatcherService watcher;
    ASSERT_TRUE(watcher.Start());
    TrayIcon::SetHostWait(60000);
    start();
    ASSERT_TRUE(PumpUntil([] { return TrayIcon::IsVisibleInTray(); }));
    watcher.Stop();
    ASSERT_TRUE(PumpUntil([] { return !TrayIcon::IsVisibleInTray(); }));
    WriteFile(env.UserData() + s("/open2.set"), "");
    EXPECT_TRUE(PumpUntil([] { return mainShown(); }));
    ASSERT_TRUE(watcher.Start());
    EXPECT_TRUE(PumpUntil([] { return TrayIcon::IsVisibleInTray(); }));
}

// Closing the main window asks whether to end the program, as the tray's Exit does;
// No leaves it running, and a second start brings the window up again.
TEST_F(NoTrayHost, SecondStartBringsUpTheMainWindowEvenAfterItWasClosed)
{
    TrayIcon::SetHostWait(60000);
    start();
    const QString marker = env.UserData() + s("/open2.set");
    for (int round = 0; round < 2; ++round) {
        EXPECT_FALSE(mainShown());
        WriteFile(marker, "");
        EXPECT_TRUE(PumpUntil([] { return mainShown(); })) << round;
        EXPECT_FALSE(QFile::exists(marker));
        MsgBoxScript::Clear();
        MsgBoxScript::Push(vbNo);
        Forms::Find<frmMain>()->close();
        ASSERT_EQ(MsgBoxScript::Log().size(), 1) << round;
        EXPECT_TRUE(MsgBoxScript::Log().first().text.startsWith(GetLangText(s("mes243")) + s("\r\n")));
        EXPECT_EQ(MsgBoxScript::Log().first().buttons, 4 + 48 + 256);
        PumpUntil([] { return !mainShown(); });
    }
    for (const TrayIcon::Balloon& balloon : TrayIcon::HeldBalloons())
        EXPECT_NE(balloon.text, GetLangText(s("mes304")));
}

#include "test_notrayhost.moc"
