// The program's icon for the desktop's icon theme, so that the application menu and
// the autostart entry can name it: <themedir>/<n>x<n>/apps/tessaryn.png.
#include "art.h"

#include <QDir>

#include <cstdio>

using namespace Qt::StringLiterals;

bool writeThemeIcons(const QString &themeDir)
{
    for (const Picture &pic : programPictures()) {
        if (pic.name != u"RES_0"_s)
            continue;
        for (int px : themeSizes) {
            const QString folder = u"%1/%2x%2/apps"_s.arg(themeDir).arg(px);
            if (!QDir().mkpath(folder)) {
                std::fprintf(stderr, "artgen: cannot create %s\n", qPrintable(folder));
                return false;
            }
            if (!writePng(folder + u"/tessaryn.png"_s, render(pic.draw, px, 48)))
                return false;
        }
        return true;
    }
    return false;
}
