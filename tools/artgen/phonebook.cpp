// Pictures of the phone book: three toolbar pictures (32 px, as the rest of the
// toolbar) and the contact card's stand-in for a missing photo.
#include "art.h"

using namespace Qt::StringLiterals;

namespace {

constexpr qreal ol = 2;   // outline width of the toolbar pictures

void shape(Canvas &c, const QPainterPath &path, QRgb colour)
{
    fillLine(c, path, colour, pal::ink, ol);
}

void contact(Canvas &c)
{
    shape(c, rrect(QRectF(2, 6, 28, 21), 2.5), pal::paper);
    shape(c, rrect(QRectF(5, 10, 10, 13), 1.5), pal::bluePale);
    c.p.save();
    c.p.setClipRect(QRectF(6, 11, 8, 11));
    fill(c, personPath(QPointF(10, 14.5), 7), pal::blue);
    c.p.restore();
    for (qreal y : {12.0, 16.5, 21.0})
        line(c, QPointF(18, y), QPointF(26.5, y), pal::inkSoft, 1.8);
}

void search(Canvas &c)
{
    line(c, QPointF(19.5, 19.5), QPointF(28, 28), pal::ink, 4.5);
    line(c, QPointF(20.5, 20.5), QPointF(27, 27), pal::brown, 2.2);
    shape(c, circle(QPointF(13, 13), 9.5), pal::bluePale);
    QPainterPath glint;
    glint.arcMoveTo(QRectF(7, 7, 12, 12), 100);
    glint.arcTo(QRectF(7, 7, 12, 12), 100, 70);
    stroke(c, glint, pal::paper, 2);
}

void groups(Canvas &c)
{
    shape(c, personPath(QPointF(21.5, 9), 14), pal::teal);
    shape(c, personPath(QPointF(11.5, 13.5), 16), pal::green);
}

// A framed grey silhouette on a pale ground, drawn on a grid of 48.
void photo(Canvas &c)
{
    c.grid(48);
    const QPainterPath frame = rrect(QRectF(3, 2, 42, 44), 4);
    fill(c, frame, pal::paperShade);
    c.p.save();
    c.p.setClipPath(frame);
    fill(c, personPath(QPointF(24, 19), 30), pal::grayLight);
    c.p.restore();
    stroke(c, frame, pal::gray, 1.5);
}

} // namespace

QList<Picture> phonebookToolbarPictures()
{
    return {{u"contact"_s, contact}, {u"search"_s, search}, {u"contactgroups"_s, groups}};
}

QList<Picture> contactPictures()
{
    return {{u"photo"_s, photo}};
}
