#include "WindowEffects.h"

#include <QGuiApplication>
#include <QWidget>

#include <algorithm>

namespace {

std::optional<bool> supportedForTests;

}  // namespace

namespace FormTransparent {

int Alpha(int percent)
{
    const int scaled = std::clamp(percent, 0, 100) * 255;
    int alpha = scaled / 100;
    const int rest = scaled % 100;
    if (rest > 50 || (rest == 50 && alpha % 2 == 1))
        ++alpha;
    return alpha;
}

bool OpacitySupported()
{
    if (supportedForTests)
        return *supportedForTests;
    static const QString platforms[] = {QStringLiteral("xcb"), QStringLiteral("offscreen"),
                                        QStringLiteral("windows"), QStringLiteral("cocoa")};
    const QString name = QGuiApplication::platformName();
    return std::find(std::begin(platforms), std::end(platforms), name) != std::end(platforms);
}

void SetOpacitySupportedForTests(std::optional<bool> supported) { supportedForTests = supported; }

void SetTransparency(QWidget* window, int percent)
{
    window->setWindowOpacity(OpacitySupported() ? Alpha(percent) / 255.0 : 1.0);
}

}  // namespace FormTransparent

namespace OnTopModul {

void MakeTopMost(QWidget* window)
{
    if (!window->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        const bool shown = window->isVisible();
        window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        if (shown)
            window->show();
    }
    window->show();
    window->raise();
}

}  // namespace OnTopModul
