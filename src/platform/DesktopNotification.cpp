#include "DesktopNotification.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QVariantMap>

#include <cstdio>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");

void drop(const QString& title, const QString& text, const QString& why)
{
    std::fprintf(stderr, "Tessaryn: notice not shown (%s): %s: %s\n", why.toLocal8Bit().constData(),
                 title.toLocal8Bit().constData(), text.toLocal8Bit().constData());
    std::fflush(stderr);
}

// Running, or started by the bus when called.
bool serviceAvailable(const QDBusConnection& bus)
{
    const QDBusConnectionInterface* daemon = bus.interface();
    return daemon
        && (daemon->isServiceRegistered(Service).value() || daemon->activatableServiceNames().value().contains(Service));
}

}  // namespace

namespace DesktopNotification {

void Show(const QString& title, const QString& text)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !serviceAvailable(bus)) {
        drop(title, text, QStringLiteral("no desktop notification service"));
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(Service, QStringLiteral("/org/freedesktop/Notifications"),
                                                       Service, QStringLiteral("Notify"));
    // Program, id to replace, icon, summary, body, actions, hints, shown for 10 s.
    call << QCoreApplication::applicationName() << 0u << QStringLiteral("tessaryn") << title << text
         << QStringList() << QVariantMap() << 10000;
    // Asked without waiting: a slow service never holds up the program.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), QCoreApplication::instance());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [title, text](QDBusPendingCallWatcher* w) {
        if (w->isError())
            drop(title, text, w->error().message());
        w->deleteLater();
    });
}

}  // namespace DesktopNotification
