// artgen: draws every picture the program shows and writes the resource file
// that compiles them in.
//
//   artgen <outdir> [<icondir>]                       the pictures and <outdir>/art.qrc
//   artgen --sheet <sheet.png> <outdir> [<icondir>]   a contact sheet of what was written
//   artgen --theme <themedir>                         the program's icon in an icon theme
// <icondir> (the category pictures) defaults to <outdir>/Icons.
#include "art.h"

#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>

#include <cstdio>

using namespace Qt::StringLiterals;

static bool writeQrc(const QString &outDir, const QList<Family> &all)
{
    QString text = u"<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n"_s;
    const QDir base(outDir);
    for (const Family &family : all) {
        if (family.resourceFolder.isEmpty())
            continue;
        for (const Picture &pic : family.pictures)
            text += u"  <file alias=\"%1/%2%3\">%4</file>\n"_s.arg(
                family.resourceFolder, pic.name, family.aliasSuffix,
                base.relativeFilePath(family.folder + u'/' + family.fileName(pic)));
    }
    text += u"</qresource>\n</RCC>\n"_s;
    QSaveFile file(base.filePath(u"art.qrc"_s));
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
    if (file.commit())
        return true;
    std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(file.fileName()));
    return false;
}

static bool generate(const QString &outDir, const QList<Family> &all)
{
    for (const Family &family : all) {
        if (!QDir().mkpath(family.folder)) {
            std::fprintf(stderr, "artgen: cannot create %s\n", qPrintable(family.folder));
            return false;
        }
        for (const Picture &pic : family.pictures) {
            const QString path = family.folder + u'/' + family.fileName(pic);
            bool ok;
            if (family.ico) {
                QList<QImage> images;
                for (int px : icoSizes)
                    images << render(pic.draw, px, family.grid);
                ok = writeIco(path, images);
            } else {
                ok = writePng(path, render(pic.draw, family.grid, family.grid));
            }
            if (!ok)
                return false;
        }
    }
    return writeQrc(outDir, all);
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == u"--theme"_s)
        return writeThemeIcons(QDir(args[1]).absolutePath()) ? 0 : 1;
    const bool sheet = args.value(0) == u"--sheet"_s;
    if (sheet)
        args.removeFirst();
    const int need = sheet ? 2 : 1;
    if (args.size() < need || args.size() > need + 1) {
        std::fprintf(stderr, "usage: artgen <outdir> [<icondir>]\n"
                             "       artgen --sheet <sheet.png> <outdir> [<icondir>]\n"
                             "       artgen --theme <themedir>\n");
        return 2;
    }
    const QString outDir = QDir(args[need - 1]).absolutePath();
    const QString iconDir = args.size() > need ? QDir(args[need]).absolutePath() : outDir + u"/Icons"_s;
    const QList<Family> all = families(outDir, iconDir);
    const bool ok = sheet ? writeSheet(args[0], all) : generate(outDir, all);
    return ok ? 0 : 1;
}
