#include "Resources.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStringList>
#include <QStyleOption>
#include <QWidget>

inline void initArtResource() { Q_INIT_RESOURCE(art); }

namespace {

// A PNG picture read by its name alone has every image plugin installed loaded, each
// asked whether it reads PNG; told the format, the reader goes straight to its own.
QIcon pngIcon(const QStringList& paths)
{
    QIcon icon;
    for (const QString& path : paths) {
        QImageReader reader(path, "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

// One of Qt's own pictures, in the sizes it comes in: stem, size, ".png".
QIcon qtPicture(const QString& stem, std::initializer_list<int> sizes)
{
    QStringList paths;
    for (int size : sizes)
        paths.append(QStringLiteral(":/qt-project.org/styles/commonstyle/images/") + stem + QString::number(size)
                     + QStringLiteral(".png"));
    return pngIcon(paths);
}

// The style the application chose, but with the toolbar's extension pictures read as
// the PNG files they are (every toolbar makes its extension button at once).
class KnownFormatStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override
    {
        if (which == SP_ToolBarHorizontalExtensionButton) {
            const bool rightToLeft = option ? option->direction == Qt::RightToLeft : QGuiApplication::isRightToLeft();
            return qtPicture(rightToLeft ? QStringLiteral("toolbar-ext-h-rtl-") : QStringLiteral("toolbar-ext-h-"),
                             {8, 16, 32});
        }
        if (which == SP_ToolBarVerticalExtensionButton)
            return qtPicture(QStringLiteral("toolbar-ext-v-"), {5, 10, 20});
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

}  // namespace

void InitResources() { initArtResource(); }

void InstallStyle()
{
    // A new instance of the chosen kind (command line, environment or desktop), so
    // that the application's own can go when it is replaced.
    QApplication::setStyle(new KnownFormatStyle(QStyleFactory::create(QApplication::style()->name())));
}

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

QIcon ToolbarIcon(const QString& name) { return pngIcon({QStringLiteral(":/toolbar/") + name + QStringLiteral(".png")}); }

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
