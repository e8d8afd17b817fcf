// The contact sheet: every written picture read back from its file, at every
// size it holds, at 1x and 2x, on a light and a dark ground. Reading the files
// back also checks that each ICO holds all its sizes.
#include "art.h"

#include <QImageReader>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int gap = 8, labelWidth = 150, columns = 2;

struct Row {
    QString label;
    QList<QImage> images;   // as stored, smallest first
};

QList<QImage> readAll(const QString &path)
{
    QImageReader reader(path);
    QList<QImage> images;
    for (int i = 0; i < std::max(1, reader.imageCount()); ++i) {
        if (i > 0 && !reader.jumpToNextImage())
            break;
        const QImage img = reader.read();
        if (img.isNull())
            break;
        images << img;
    }
    std::sort(images.begin(), images.end(), [](const QImage &a, const QImage &b) { return a.width() < b.width(); });
    return images;
}

bool holdsSizes(const QList<QImage> &images, const QList<int> &sizes)
{
    QList<int> got;
    for (const QImage &img : images)
        got << img.width();
    return got == sizes;
}

int panelWidth(const Row &row)
{
    int w = 0;
    for (const QImage &img : row.images)
        w += 3 * img.width() + 2 * gap;
    return w + gap;
}

int rowHeight(const Row &row)
{
    return 2 * row.images.last().height() + 2 * gap;
}

void drawPanel(QPainter &p, const Row &row, int x, int y, QRgb ground, int width)
{
    const int h = rowHeight(row);
    p.fillRect(x, y, width, h, QColor::fromRgb(ground));
    int cx = x + gap;
    for (const QImage &img : row.images) {
        p.drawImage(cx, y + (h - img.height()) / 2, img);
        cx += img.width() + gap;
    }
    for (const QImage &img : row.images) {
        const QImage big = img.scaled(img.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        p.drawImage(cx, y + (h - big.height()) / 2, big);
        cx += big.width() + gap;
    }
}

} // namespace

bool writeSheet(const QString &sheetPath, const QList<Family> &all)
{
    QList<Row> rows;
    bool ok = true;
    for (const Family &family : all) {
        for (const Picture &pic : family.pictures) {
            const QString path = family.folder + u'/' + family.fileName(pic);
            Row row{family.fileName(pic), readAll(path)};
            const QList<int> want = family.ico ? icoSizes : QList<int>{family.grid};
            if (!holdsSizes(row.images, want)) {
                std::fprintf(stderr, "artgen: %s does not hold the expected sizes\n", qPrintable(path));
                ok = false;
                continue;
            }
            if (family.grid == 32)   // toolbar pictures are also shown at 24 px, as a small toolbar scales them
                row.images.prepend(row.images.first().scaled(24, 24, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            rows << row;
        }
    }
    if (rows.isEmpty())
        return false;

    int panel = 0;
    for (const Row &row : rows)
        panel = std::max(panel, panelWidth(row));
    const int cell = labelWidth + 2 * panel;
    QList<int> heights((rows.size() + columns - 1) / columns, 0);
    for (qsizetype i = 0; i < rows.size(); ++i)
        heights[i / columns] = std::max(heights[i / columns], rowHeight(rows[i]));
    int total = 0;
    for (int h : heights)
        total += h;

    QImage sheet(columns * cell, total, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    int y = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const int x = int(i % columns) * cell;
        p.setPen(Qt::black);
        p.drawText(QRect(x + gap, y, labelWidth - gap, rowHeight(rows[i])), Qt::AlignVCenter, rows[i].label);
        drawPanel(p, rows[i], x + labelWidth, y, 0xf2f2f2, panel);
        drawPanel(p, rows[i], x + labelWidth + panel, y, 0x2b2d31, panel);
        if (i % columns == columns - 1)
            y += heights[i / columns];
    }
    p.end();
    return sheet.save(sheetPath) && ok;
}
