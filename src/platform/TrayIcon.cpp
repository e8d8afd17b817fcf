#include "TrayIcon.h"

#include "DesktopNotification.h"
#include "TrayHost.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

namespace {

constexpr int DefaultHostWaitMs = 30000;
// How long a balloon waits for the tray host to take in a newly shown icon.
constexpr int PlacingWaitMs = 1500;

struct Tray {
    QSystemTrayIcon* icon = nullptr;
    QPointer<QMenu> menu;
    bool added = false;
    // The wait for a tray host has ended without one, or the host went away: while no
    // icon is shown, balloons go to the desktop's notification service instead of
    // being held.
    bool hostWaitOver = false;
    // The icon is shown, but the tray host may not have taken it in yet.
    bool placing = false;
    QString tip;
    QIcon picture;
    QList<TrayIcon::Balloon> shown;
    QList<TrayIcon::Balloon> held;
    std::function<void(TrayIcon::Click)> onClick;
    std::function<bool()> beforeMenu;
    std::function<void()> onNoHost;
    int hostWaitMs = DefaultHostWaitMs;
};

Tray& tray()
{
    static Tray t;
    return t;
}

QSystemTrayIcon::MessageIcon messageIcon(int kind)
{
    switch (kind) {
    case 2: return QSystemTrayIcon::Warning;
    case 3: return QSystemTrayIcon::Critical;
    default: return QSystemTrayIcon::Information;
    }
}

void showNow(const TrayIcon::Balloon& balloon)
{
    Tray& t = tray();
    t.shown.append(balloon);
    if (TrayIcon::IsVisibleInTray())
        t.icon->showMessage(balloon.title, balloon.text, messageIcon(balloon.kind), 10000);
}

void showNotice(const TrayIcon::Balloon& balloon) { DesktopNotification::Show(balloon.title, balloon.text); }

// The held balloons at the icon, or, when no host will show it, through the desktop's
// notification service.
void flushHeld(void (*show)(const TrayIcon::Balloon&) = &showNow)
{
    Tray& t = tray();
    const QList<TrayIcon::Balloon> held = t.held;
    t.held.clear();
    for (const TrayIcon::Balloon& balloon : held)
        show(balloon);
}

// A tray host takes an icon in a moment after it is shown, and until then the icon
// sits in the corner of the screen, where a balloon would point. Balloons wait until
// the icon has moved, or has no place of its own (a host that shows the messages
// itself), for a second and a half at the most.
void showIcon()
{
    Tray& t = tray();
    t.icon->show();
    const QRect unplaced = t.icon->geometry();
    if (!unplaced.isValid()) {
        flushHeld();
        return;
    }
    t.placing = true;
    auto* poll = new QTimer(t.icon);
    poll->setInterval(50);
    QElapsedTimer waited;
    waited.start();
    QObject::connect(poll, &QTimer::timeout, t.icon, [poll, unplaced, waited] {
        Tray& tr = tray();
        if (tr.icon->geometry() == unplaced && !waited.hasExpired(PlacingWaitMs))
            return;
        poll->deleteLater();
        tr.placing = false;
        flushHeld();
    });
    poll->start();
}

void onActivated(QSystemTrayIcon::ActivationReason reason)
{
    Tray& t = tray();
    if (!t.onClick)
        return;
    if (reason == QSystemTrayIcon::Trigger)
        t.onClick(TrayIcon::Click::Left);
}

// A host that comes takes the icon in (Qt moves an icon it showed before to the new
// host itself); one that goes leaves the program as without a host.
void hostChanged(bool present)
{
    Tray& t = tray();
    if (!t.icon)
        return;
    if (present) {
        showIcon();
        return;
    }
    t.hostWaitOver = true;
    t.placing = false;
    flushHeld(&showNotice);
}

// At login the tray host may come late: the program waits for one, and after the
// wait lets the program make itself reachable another way. The host's coming is told
// by the watch; nothing asks in the meantime.
void showWhenHostArrives()
{
    Tray& t = tray();
    if (TrayHost::Watch(&hostChanged)) {
        showIcon();
        return;
    }
    QTimer::singleShot(t.hostWaitMs, t.icon, [] {
        Tray& tr = tray();
        if (!tr.icon || TrayIcon::IsVisibleInTray())
            return;
        tr.hostWaitOver = true;
        flushHeld(&showNotice);
        if (tr.onNoHost)
            tr.onNoHost();
    });
}

}  // namespace

namespace TrayIcon {

void Add(const QIcon& icon, const QString& tip)
{
    Tray& t = tray();
    if (t.added)
        return;
    t.added = true;
    t.tip = tip;
    t.picture = icon;
    // Asking the desktop for a tray host takes a few calls on the session bus and
    // the display; like the notification area itself, the icon takes its place once
    // the program's queue runs, and balloons wait for it meanwhile.
    QMetaObject::invokeMethod(
        qApp,
        [] {
            Tray& tr = tray();
            if (!tr.added || tr.icon)
                return;
            tr.icon = new QSystemTrayIcon(tr.picture);
            tr.icon->setToolTip(tr.tip);
            if (tr.menu)
                tr.icon->setContextMenu(tr.menu);
            QObject::connect(tr.icon, &QSystemTrayIcon::activated, tr.icon, &onActivated);
            showWhenHostArrives();
        },
        Qt::QueuedConnection);
}

void Remove()
{
    Tray& t = tray();
    if (t.icon) {
        t.icon->hide();
        delete t.icon;
    }
    t.icon = nullptr;
    t.picture = QIcon();
    t.added = false;
    t.hostWaitOver = false;
    t.placing = false;
}

bool IsAdded() { return tray().added; }

bool IsVisibleInTray() { return tray().icon && tray().icon->isVisible() && TrayHost::Present(); }

QString Tip() { return tray().tip; }

void ShowBalloon(const QString& title, const QString& text, int kind)
{
    const Balloon balloon{title.left(64), text.left(256), kind};
    Tray& t = tray();
    const bool inTray = IsVisibleInTray();
    if (inTray && !t.placing)
        showNow(balloon);
    else if (!inTray && t.hostWaitOver)
        showNotice(balloon);
    else
        t.held.append(balloon);
}

QList<Balloon> ShownBalloons() { return tray().shown; }

QList<Balloon> HeldBalloons() { return tray().held; }

void SetMenu(QMenu* menu, std::function<bool()> beforeShow)
{
    Tray& t = tray();
    t.menu = menu;
    t.beforeMenu = std::move(beforeShow);
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] {
        Tray& tr = tray();
        if (tr.beforeMenu && !tr.beforeMenu())
            QTimer::singleShot(0, menu, &QMenu::close);
    });
    if (t.icon)
        t.icon->setContextMenu(menu);
}

void SetClickHandler(std::function<void(Click)> handler) { tray().onClick = std::move(handler); }

void SetNoHostHandler(std::function<void()> handler) { tray().onNoHost = std::move(handler); }

void SetHostWait(int ms) { tray().hostWaitMs = ms; }

void ResetForTests()
{
    Remove();
    TrayHost::Stop();
    Tray& t = tray();
    t.shown.clear();
    t.held.clear();
    t.onClick = nullptr;
    t.beforeMenu = nullptr;
    t.onNoHost = nullptr;
    t.menu = nullptr;
    t.tip.clear();
    t.hostWaitMs = DefaultHostWaitMs;
}

}  // namespace TrayIcon
