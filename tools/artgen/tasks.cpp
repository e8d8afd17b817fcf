// Toolbar pictures of the task list: a task marked done and one set back to not
// done. Same style as the other toolbar pictures: flat fills, 2 px ink outline.
#include "art.h"

using namespace Qt::StringLiterals;

namespace {

constexpr qreal ol = 2;   // outline width

QPainterPath tickPath()
{
    QPainterPath tick;
    tick.moveTo(8.5, 16.5);
    tick.lineTo(13.5, 21.5);
    tick.lineTo(24, 9.5);
    return tick;
}

void done(Canvas &c)
{
    fillLine(c, rrect(QRectF(4, 4, 24, 24), 4), pal::green, pal::ink, ol);
    stroke(c, tickPath(), pal::paper, 3.6);
}

// An empty box with a round arrow turning back, in the corner.
void undone(Canvas &c)
{
    fillLine(c, rrect(QRectF(3, 3, 21, 21), 3.5), pal::paper, pal::ink, ol);
    const QPointF at(23, 23);
    c.p.save();
    c.p.setCompositionMode(QPainter::CompositionMode_Clear);
    fill(c, circle(at, 9), 0);
    c.p.restore();
    fillLine(c, circle(at, 7), pal::orange, pal::ink, ol);
    QPainterPath arc;
    arc.arcMoveTo(QRectF(19.5, 19.5, 7, 7), 120);
    arc.arcTo(QRectF(19.5, 19.5, 7, 7), 120, -270);
    stroke(c, arc, pal::paper, 1.8);
    fill(c, polygon({{17.6, 19.6}, {21.6, 18.6}, {20.8, 22.6}}), pal::paper);
}

} // namespace

QList<Picture> taskPictures()
{
    return {{u"done"_s, done}, {u"undone"_s, undone}};
}
