#include "TrayHost.h"

#include <QAbstractNativeEventFilter>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QPointer>

#include <xcb/xcb.h>

#include <cstdlib>

namespace {

const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

// The StatusNotifier watcher serves a host: Qt then shows the icon over the bus.
bool statusNotifierHostThere(const QDBusConnection& bus)
{
    const QDBusConnectionInterface* daemon = bus.interface();
    if (!daemon || !daemon->isServiceRegistered(WatcherService).value())
        return false;
    QDBusInterface watcher(WatcherService, QStringLiteral("/StatusNotifierWatcher"), WatcherService, bus);
    return watcher.property("IsStatusNotifierHostRegistered").toBool();
}

xcb_atom_t atom(xcb_connection_t* x, const QByteArray& name)
{
    xcb_intern_atom_reply_t* reply
        = xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, uint16_t(name.size()), name.constData()), nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return found;
}

class Watcher : public QObject, public QAbstractNativeEventFilter {
public:
    explicit Watcher(std::function<void(bool)> changed)
        : QObject(QCoreApplication::instance())
        , changed_(std::move(changed))
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (bus.isConnected() && statusNotifierHostThere(bus)) {
            present_ = true;
            auto* names = new QDBusServiceWatcher(WatcherService, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
            connect(names, &QDBusServiceWatcher::serviceOwnerChanged, this,
                    [this](const QString&, const QString&, const QString& owner) { setPresent(!owner.isEmpty()); });
        } else if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
            if (x11->connection())
                watchX11(x11->connection());
        }
    }
    ~Watcher() override
    {
        if (x_)
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    bool Present() const { return present_; }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const int kind = event->response_type & 0x7f;
        bool news = false;
        if (kind == XCB_DESTROY_NOTIFY) {
            news = reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == owner_;
        } else if (kind == XCB_CLIENT_MESSAGE) {
            const auto* sent = reinterpret_cast<const xcb_client_message_event_t*>(event);
            news = sent->window == root_ && sent->type == manager_ && sent->data.data32[1] == selection_;
        }
        // Qt handles the same event first (it moves its icon to the new tray).
        if (news)
            QMetaObject::invokeMethod(this, [this] { followOwner(); }, Qt::QueuedConnection);
        return false;
    }

private:
    void watchX11(xcb_connection_t* x)
    {
        char* host = nullptr;
        int display = 0;
        int screen = 0;
        if (!xcb_parse_display(nullptr, &host, &display, &screen))
            screen = 0;
        std::free(host);
        xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(x));
        for (int i = 0; i < screen && roots.rem > 1; ++i)
            xcb_screen_next(&roots);
        x_ = x;
        root_ = roots.data->root;
        selection_ = atom(x, "_NET_SYSTEM_TRAY_S" + QByteArray::number(screen));
        manager_ = atom(x, "MANAGER");
        // A new tray manager tells the root window; add that to what Qt listens for there.
        xcb_get_window_attributes_reply_t* attributes
            = xcb_get_window_attributes_reply(x, xcb_get_window_attributes(x, root_), nullptr);
        const uint32_t mask = (attributes ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        std::free(attributes);
        xcb_change_window_attributes(x, root_, XCB_CW_EVENT_MASK, &mask);
        QCoreApplication::instance()->installNativeEventFilter(this);
        followOwner();
    }

    xcb_window_t selectionOwner() const
    {
        xcb_get_selection_owner_reply_t* reply
            = xcb_get_selection_owner_reply(x_, xcb_get_selection_owner(x_, selection_), nullptr);
        const xcb_window_t owner = reply ? reply->owner : xcb_window_t(XCB_WINDOW_NONE);
        std::free(reply);
        return owner;
    }

    // Looks up the tray selection's owner and watches it for its end. An owner that
    // ended before the watch took hold has let go of the selection: look again.
    void followOwner()
    {
        xcb_window_t owner = selectionOwner();
        for (int look = 0; look < 3 && owner != XCB_WINDOW_NONE && owner != owner_; ++look) {
            const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
            xcb_generic_error_t* error
                = xcb_request_check(x_, xcb_change_window_attributes_checked(x_, owner, XCB_CW_EVENT_MASK, &mask));
            std::free(error);
            if (!error)
                break;
            owner = selectionOwner();
        }
        owner_ = owner;
        setPresent(owner != XCB_WINDOW_NONE);
    }

    void setPresent(bool present)
    {
        if (present == present_)
            return;
        present_ = present;
        changed_(present);
    }

    std::function<void(bool)> changed_;
    bool present_ = false;
    xcb_connection_t* x_ = nullptr;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    xcb_window_t owner_ = XCB_WINDOW_NONE;
    xcb_atom_t selection_ = XCB_ATOM_NONE;
    xcb_atom_t manager_ = XCB_ATOM_NONE;
};

// Lives as long as the application object.
QPointer<Watcher>& watcher()
{
    static QPointer<Watcher> w;
    return w;
}

}  // namespace

namespace TrayHost {

bool Watch(std::function<void(bool present)> changed)
{
    if (!watcher())
        watcher() = new Watcher(std::move(changed));
    return watcher()->Present();
}

bool Present() { return watcher() && watcher()->Present(); }

void Stop() { delete watcher().data(); }

}  // namespace TrayHost
