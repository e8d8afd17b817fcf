// Toolbar pictures of the notes window and the pictures of its alignment buttons:
// 32 px, flat fills with a 2 px ink outline, as the main toolbar's.
#include "art.h"

using namespace Qt::StringLiterals;

namespace {

constexpr qreal ol = 2;  // outline width

void shape(Canvas &c, const QPainterPath &path, QRgb colour)
{
    fillLine(c, path, colour, pal::ink, ol);
}

// A lined sheet of note paper.
void notePage(Canvas &c, const QRectF &box)
{
    shape(c, rrect(box, 2), pal::goldPale);
    for (qreal y = box.top() + 6; y < box.bottom() - 3; y += 5)
        line(c, QPointF(box.left() + 4, y), QPointF(box.right() - 4, y), pal::inkSoft, 1.6);
}

// A thick arrow from one point to another, its head at `to`.
void arrow(Canvas &c, QPointF from, QPointF to, QRgb colour)
{
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    const QPointF neck = to - d * 6;
    shape(c,
          polygon({from + n * 2.2, neck + n * 2.2, neck + n * 5.5, to, neck - n * 5.5, neck - n * 2.2,
                   from - n * 2.2}),
          colour);
}

void newNote(Canvas &c)
{
    notePage(c, QRectF(4, 3, 20, 25));
    drawBadge(c, pal::green);
    line(c, QPointF(24, 20.5), QPointF(24, 27.5), pal::paper, 2.2);
    line(c, QPointF(20.5, 24), QPointF(27.5, 24), pal::paper, 2.2);
}

void save(Canvas &c)
{
    shape(c, polygon({{4, 4}, {24, 4}, {28, 8}, {28, 28}, {4, 28}}), pal::blue);
    shape(c, rrect(QRectF(9, 4, 13, 8), 1), pal::grayLight);
    c.p.fillRect(QRectF(17, 6, 3, 4), QColor::fromRgb(pal::ink));
    shape(c, rrect(QRectF(8, 16, 16, 12), 1), pal::paper);
    for (qreal y : {20.0, 24.0})
        line(c, QPointF(11, y), QPointF(21, y), pal::inkSoft, 1.4);
}

void import(Canvas &c)
{
    notePage(c, QRectF(10, 3, 19, 26));
    arrow(c, QPointF(2, 16), QPointF(19, 16), pal::green);
}

void exportNote(Canvas &c)
{
    notePage(c, QRectF(3, 3, 19, 26));
    arrow(c, QPointF(13, 16), QPointF(30, 16), pal::blue);
}

void folder(Canvas &c, qreal dx, qreal dy, QRgb colour)
{
    shape(c, polygon({{3 + dx, 6 + dy}, {10 + dx, 6 + dy}, {13 + dx, 9 + dy}, {22 + dx, 9 + dy}, {22 + dx, 22 + dy},
                      {3 + dx, 22 + dy}}),
          colour);
}

void groups(Canvas &c)
{
    folder(c, 0, 0, pal::amberPale);
    folder(c, 7, 7, pal::gold);
}

// Five lines of text, each line placed by where it starts and how long it is.
void alignment(Canvas &c, Qt::Alignment side)
{
    const qreal lengths[] = {24, 16, 24, 12, 20};
    for (int i = 0; i < 5; ++i) {
        const qreal length = lengths[i];
        qreal left = 4;
        if (side == Qt::AlignHCenter)
            left = 16 - length / 2;
        else if (side == Qt::AlignRight)
            left = 28 - length;
        line(c, QPointF(left, 6 + i * 5), QPointF(left + length, 6 + i * 5), pal::ink, 2.6);
    }
}

void alignLeft(Canvas &c) { alignment(c, Qt::AlignLeft); }
void alignCenter(Canvas &c) { alignment(c, Qt::AlignHCenter); }
void alignRight(Canvas &c) { alignment(c, Qt::AlignRight); }

} // namespace

QList<Picture> noteToolbarPictures()
{
    return {
        {u"newnote"_s, newNote},     {u"save"_s, save},
        {u"import"_s, import},       {u"export"_s, exportNote},
        {u"groups"_s, groups},       {u"alignleft"_s, alignLeft},
        {u"aligncenter"_s, alignCenter}, {u"alignright"_s, alignRight},
    };
}
