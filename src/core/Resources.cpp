#include "Resources.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QWidget>

inline void initArtResource() { Q_INIT_RESOURCE(art); }

void InitResources() { initArtResource(); }

QIcon ResourceIcon(const QString& name)
{
    // Every window shows the program's icon: each picture is decoded once, and let
    // go while the application still stands.
    static QHash<QString, QIcon> decoded;
    if (decoded.isEmpty())
        qAddPostRoutine([] { decoded.clear(); });
    auto known = decoded.constFind(name);
    if (known == decoded.constEnd())
        known = decoded.insert(name, QIcon(QStringLiteral(":/res/") + name + QStringLiteral(".ico")));
    return *known;
}

QPixmap ResourcePixmap(const QString& name, int size) { return ResourceIcon(name).pixmap(size, size); }

QIcon ToolbarIcon(const QString& name)
{
    return QIcon(QStringLiteral(":/toolbar/") + name + QStringLiteral(".png"));
}

QPixmap WeatherPicture(const QString& key)
{
    const QString path = QStringLiteral(":/weather/") + key;
    if (key.isEmpty() || !QFile::exists(path))
        return {};
    return QPixmap(path);
}

void SetFormIcon(QWidget* window, const QString& resource, bool ownerToo)
{
    const QIcon icon = ResourceIcon(resource);
    if (ownerToo) {
        QWidget* top = window;
        while (top->parentWidget())
            top = top->parentWidget()->window();
        top->setWindowIcon(icon);
    }
    window->setWindowIcon(icon);
}
