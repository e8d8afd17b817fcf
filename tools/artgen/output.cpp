// Rendering a picture and storing it: PNG files, ICO containers and the family table.
#include "art.h"

#include <QBuffer>
#include <QImageWriter>
#include <QSaveFile>
#include <QtEndian>

#include <cstdio>

using namespace Qt::StringLiterals;

QList<Family> families(const QString &outDir, const QString &iconDir)
{
    return {
        {outDir + u"/res"_s, u"res"_s, u".ico"_s, true, 48, programPictures()},
        {outDir + u"/res/weather"_s, u"weather"_s, u".gif"_s, false, 48, weatherPictures()},
        {outDir + u"/res/toolbar"_s, u"toolbar"_s, u".png"_s, false, 32, toolbarPictures()},
        {outDir + u"/res/toolbar"_s, u"toolbar"_s, u".png"_s, false, 32, taskPictures()},
        {outDir + u"/res/toolbar"_s, u"toolbar"_s, u".png"_s, false, 32, noteToolbarPictures()},
        {outDir + u"/res/toolbar"_s, u"toolbar"_s, u".png"_s, false, 32, phonebookToolbarPictures()},
        {outDir + u"/res/contact"_s, u"contact"_s, u".png"_s, false, 96, contactPictures()},
        {iconDir, QString(), QString(), true, 48, categoryPictures()},
    };
}

QImage render(DrawFn draw, int px, int grid)
{
    QImage image(px, px, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    Canvas canvas{painter, px, qreal(grid)};
    canvas.grid(grid);
    draw(canvas);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

static bool commit(QSaveFile &file)
{
    if (file.commit())
        return true;
    std::fprintf(stderr, "artgen: cannot write %s: %s\n", qPrintable(file.fileName()),
                 qPrintable(file.errorString()));
    return false;
}

bool writePng(const QString &path, const QImage &image)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return commit(file);
    QImageWriter writer(&file, "png");
    if (!writer.write(image)) {
        std::fprintf(stderr, "artgen: cannot encode %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        file.cancelWriting();
        return false;
    }
    return commit(file);
}

static void put16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

static void put32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

// One image as an ICO entry: a 32-bit bottom-up DIB (height doubled, as the
// format wants) followed by the 1-bit transparency mask. Every ICO reader,
// Qt's included, takes this form; PNG entries are not read everywhere.
static QByteArray dibEntry(const QImage &source)
{
    const QImage img = source.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width(), h = img.height();
    const int maskStride = ((w + 31) / 32) * 4;
    QByteArray out;
    put32(out, 40);
    put32(out, quint32(w));
    put32(out, quint32(h * 2));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, quint32(w * h * 4 + maskStride * h));
    for (int i = 0; i < 4; ++i)
        put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto *row = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < w; ++x)
            put32(out, row[x]);   // ARGB32 in little-endian order is the DIB's BGRA
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray mask(maskStride, '\0');
        const auto *row = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < w; ++x)
            if (qAlpha(row[x]) == 0)
                mask[x / 8] = char(mask[x / 8] | (0x80 >> (x % 8)));
        out.append(mask);
    }
    return out;
}

bool writeIco(const QString &path, const QList<QImage> &images)
{
    QList<QByteArray> entries;
    for (const QImage &img : images)
        entries << dibEntry(img);
    QByteArray out;
    put16(out, 0);
    put16(out, 1);
    put16(out, quint16(images.size()));
    quint32 offset = 6 + 16 * quint32(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        out.append(char(images[i].width() % 256));
        out.append(char(images[i].height() % 256));
        out.append('\0');
        out.append('\0');
        put16(out, 1);
        put16(out, 32);
        put32(out, quint32(entries[i].size()));
        put32(out, offset);
        offset += quint32(entries[i].size());
    }
    for (const QByteArray &entry : entries)
        out.append(entry);

    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(out);
    return commit(file);
}
