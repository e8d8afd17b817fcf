#pragma once

#include <QIcon>
#include <QList>
#include <QString>

#include <functional>

class QMenu;

// The program's one notification-area icon. Its state stays readable, so tests can
// see what a user would. Balloons asked for before the icon exists are held and
// shown once the tray host has taken it in. When no tray host is there yet (at login
// it may come late) the icon waits for one; after the wait the no-host handler runs,
// and the balloons still held, and every later one while no icon is shown, go to the
// desktop's notification service. A host that goes away counts as none from then on;
// the icon comes back with the next host.
namespace TrayIcon {

enum class Click { Left, Right };

struct Balloon {
    QString title;  // at most 64 characters
    QString text;   // at most 256 characters
    int kind = 1;   // 1 information, 2 warning, 3 error
};

void Add(const QIcon& icon, const QString& tip);
void Remove();
bool IsAdded();
// True while the icon is really shown in a tray host that is there.
bool IsVisibleInTray();
QString Tip();

void ShowBalloon(const QString& title, const QString& text, int kind);
QList<Balloon> ShownBalloons();
QList<Balloon> HeldBalloons();

// The menu shows on a right click; beforeShow runs when it is about to show and may
// return false to keep it from showing.
void SetMenu(QMenu* menu, std::function<bool()> beforeShow);
void SetClickHandler(std::function<void(Click)> handler);
void SetNoHostHandler(std::function<void()> handler);
// How long the icon waits for a tray host: 30 s, unless a test shortens it.
void SetHostWait(int ms);

// For tests: forget everything (the icon, the balloons, the handlers, the wait).
void ResetForTests();

}  // namespace TrayIcon
