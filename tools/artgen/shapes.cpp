// Painting helpers and the shapes several picture families share.
#include "art.h"

#include <QtMath>

#include <algorithm>

void Canvas::grid(qreal u)
{
    units = u;
    p.resetTransform();
    p.scale(px / u, px / u);
}

qreal Canvas::w(qreal u, qreal minPx) const
{
    return std::max(u, minPx / scale());
}

QPen pen(const Canvas &c, QRgb colour, qreal width, qreal minPx)
{
    QPen result(QColor::fromRgb(colour), c.w(width, minPx));
    result.setCapStyle(Qt::RoundCap);
    result.setJoinStyle(Qt::RoundJoin);
    return result;
}

void fill(Canvas &c, const QPainterPath &path, QRgb colour)
{
    c.p.fillPath(path, QColor::fromRgb(colour));
}

void fillLine(Canvas &c, const QPainterPath &path, QRgb fillColour, QRgb lineColour, qreal width, qreal minPx)
{
    c.p.fillPath(path, QColor::fromRgb(fillColour));
    c.p.strokePath(path, pen(c, lineColour, width, minPx));
}

void stroke(Canvas &c, const QPainterPath &path, QRgb colour, qreal width, qreal minPx)
{
    c.p.strokePath(path, pen(c, colour, width, minPx));
}

void line(Canvas &c, QPointF a, QPointF b, QRgb colour, qreal width, qreal minPx)
{
    c.p.setPen(pen(c, colour, width, minPx));
    c.p.drawLine(a, b);
}

QPainterPath rrect(const QRectF &r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QPainterPath circle(QPointF centre, qreal radius)
{
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QPainterPath cloudPath(const QRectF &b)
{
    const qreal h = b.height(), wd = b.width();
    QPainterPath path = rrect(QRectF(b.left(), b.top() + h * 0.42, wd, h * 0.58), h * 0.29);
    path = path.united(circle(QPointF(b.left() + wd * 0.37, b.top() + h * 0.47), h * 0.47));
    path = path.united(circle(QPointF(b.left() + wd * 0.69, b.top() + h * 0.6), h * 0.34));
    return path.simplified();
}

QPainterPath bellPath(const QRectF &b)
{
    const qreal x = b.left(), y = b.top(), wd = b.width(), h = b.height();
    const qreal cx = x + wd / 2;
    QPainterPath path;
    path.moveTo(x, y + h * 0.84);
    path.cubicTo(x + wd * 0.14, y + h * 0.74, x + wd * 0.15, y + h * 0.62, x + wd * 0.16, y + h * 0.46);
    path.cubicTo(x + wd * 0.18, y + h * 0.22, x + wd * 0.32, y + h * 0.12, cx, y + h * 0.12);
    path.cubicTo(x + wd * 0.68, y + h * 0.12, x + wd * 0.82, y + h * 0.22, x + wd * 0.84, y + h * 0.46);
    path.cubicTo(x + wd * 0.85, y + h * 0.62, x + wd * 0.86, y + h * 0.74, x + wd, y + h * 0.84);
    path.closeSubpath();
    path = path.united(circle(QPointF(cx, y + h * 0.1), wd * 0.09));
    return path.simplified();
}

QPainterPath starPath(QPointF centre, qreal outer, qreal inner, int points)
{
    QPolygonF poly;
    for (int i = 0; i < points * 2; ++i) {
        const qreal a = qDegreesToRadians(-90.0 + i * 180.0 / points);
        const qreal r = i % 2 ? inner : outer;
        poly << centre + QPointF(r * qCos(a), r * qSin(a));
    }
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

QPainterPath heartPath(const QRectF &b)
{
    const qreal x = b.left(), y = b.top(), wd = b.width(), h = b.height();
    QPainterPath path;
    path.moveTo(x + wd / 2, y + h);
    path.cubicTo(x + wd * 0.3, y + h * 0.8, x, y + h * 0.58, x, y + h * 0.3);
    path.cubicTo(x, y + h * 0.1, x + wd * 0.16, y, x + wd * 0.28, y);
    path.cubicTo(x + wd * 0.4, y, x + wd * 0.48, y + h * 0.08, x + wd / 2, y + h * 0.2);
    path.cubicTo(x + wd * 0.52, y + h * 0.08, x + wd * 0.6, y, x + wd * 0.72, y);
    path.cubicTo(x + wd * 0.84, y, x + wd, y + h * 0.1, x + wd, y + h * 0.3);
    path.cubicTo(x + wd, y + h * 0.58, x + wd * 0.7, y + h * 0.8, x + wd / 2, y + h);
    path.closeSubpath();
    return path;
}

QPainterPath gearPath(QPointF centre, qreal outer, qreal inner, int teeth)
{
    // Each tooth is a trapezoid: wide at the root, narrower at the tip.
    QPolygonF poly;
    const qreal step = 360.0 / teeth;
    for (int i = 0; i < teeth; ++i) {
        const qreal a = -90.0 + i * step;
        for (const auto &[da, r] : {std::pair{-0.3, inner}, {-0.17, outer}, {0.17, outer}, {0.3, inner}}) {
            const qreal rad = qDegreesToRadians(a + da * step);
            poly << centre + QPointF(r * qCos(rad), r * qSin(rad));
        }
    }
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

QPainterPath tagPath(const QRectF &b)
{
    // Drawn upright, then turned 45 degrees so the point faces up-left.
    const qreal wd = b.width() * 0.56, h = b.height() * 0.98;
    const QPointF c = b.center();
    QPainterPath shape;
    shape.moveTo(0, -h / 2);
    shape.lineTo(wd / 2, -h / 2 + wd * 0.55);
    shape.lineTo(wd / 2, h / 2 - wd * 0.12);
    shape.quadTo(wd / 2, h / 2, wd * 0.38, h / 2);
    shape.lineTo(-wd * 0.38, h / 2);
    shape.quadTo(-wd / 2, h / 2, -wd / 2, h / 2 - wd * 0.12);
    shape.lineTo(-wd / 2, -h / 2 + wd * 0.55);
    shape.closeSubpath();
    shape = shape.subtracted(circle(QPointF(0, -h / 2 + wd * 0.62), wd * 0.15));
    QTransform t;
    t.translate(c.x(), c.y());
    t.rotate(-45);
    return t.map(shape);
}

QPainterPath dropPath(QPointF top, qreal height)
{
    const qreal r = height * 0.36;
    const QPointF c(top.x(), top.y() + height - r);
    QPainterPath path;
    path.moveTo(top);
    path.cubicTo(top.x() + r * 0.35, top.y() + height * 0.3, c.x() + r, c.y() - r * 0.6, c.x() + r, c.y());
    path.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 0, -180);
    path.cubicTo(c.x() - r, c.y() - r * 0.6, top.x() - r * 0.35, top.y() + height * 0.3, top.x(), top.y());
    path.closeSubpath();
    return path;
}

QPainterPath crescentPath(QPointF centre, qreal radius)
{
    return circle(centre, radius).subtracted(circle(centre + QPointF(radius * 0.55, -radius * 0.4), radius * 0.82));
}

QPainterPath personPath(QPointF head, qreal size)
{
    const qreal r = size * 0.25;
    QPainterPath body;
    const QRectF shoulders(head.x() - size / 2, head.y() + r * 1.25, size, size * 0.9);
    body.moveTo(shoulders.left(), shoulders.bottom());
    body.lineTo(shoulders.left(), shoulders.top() + size * 0.35);
    body.cubicTo(shoulders.left(), shoulders.top() + size * 0.1, shoulders.left() + size * 0.2, shoulders.top(),
                 head.x(), shoulders.top());
    body.cubicTo(shoulders.right() - size * 0.2, shoulders.top(), shoulders.right(), shoulders.top() + size * 0.1,
                 shoulders.right(), shoulders.top() + size * 0.35);
    body.lineTo(shoulders.right(), shoulders.bottom());
    body.closeSubpath();
    return body.united(circle(head, r)).simplified();
}

void drawSun(Canvas &c, QPointF centre, qreal radius, qreal rayLength)
{
    const qreal gap = radius * 0.35 + 1;
    for (int i = 0; i < 8; ++i) {
        const qreal a = qDegreesToRadians(i * 45.0);
        const QPointF dir(qCos(a), qSin(a));
        line(c, centre + dir * (radius + gap), centre + dir * (radius + gap + rayLength), pal::orange, radius * 0.28, 1.2);
    }
    fillLine(c, circle(centre, radius), pal::gold, pal::orange, radius * 0.16, 1.0);
}

void drawMoon(Canvas &c, QPointF centre, qreal radius)
{
    fillLine(c, crescentPath(centre, radius), pal::goldPale, pal::goldDark, radius * 0.12, 1.0);
}

void drawCloud(Canvas &c, const QRectF &box, QRgb fillColour, QRgb lineColour)
{
    fillLine(c, cloudPath(box), fillColour, lineColour, box.height() * 0.09, 1.0);
}

void drawSnowflake(Canvas &c, QPointF centre, qreal radius, QRgb colour, qreal width)
{
    for (int i = 0; i < 3; ++i) {
        const qreal a = qDegreesToRadians(90.0 + i * 60.0);
        const QPointF d(radius * qCos(a), radius * qSin(a));
        line(c, centre - d, centre + d, colour, width, 1.0);
    }
}

void drawQuestionMark(Canvas &c, const QRectF &b, QRgb colour, qreal width)
{
    const qreal r = b.width() / 2 - width / 2;
    const QPointF top(b.center().x(), b.top() + width / 2 + r);
    QPainterPath hook;
    hook.arcMoveTo(QRectF(top.x() - r, top.y() - r, 2 * r, 2 * r), 160);
    hook.arcTo(QRectF(top.x() - r, top.y() - r, 2 * r, 2 * r), 160, -235);
    hook.quadTo(top.x(), top.y() + r * 0.75, top.x(), b.top() + b.height() * 0.7);
    stroke(c, hook, colour, width, 1.4);
    fill(c, circle(QPointF(top.x(), b.bottom() - width * 0.6), width * 0.65), colour);
}

void drawBell(Canvas &c, const QRectF &b, qreal outline)
{
    const QPointF clapper(b.center().x(), b.top() + b.height() * 0.9);
    fillLine(c, circle(clapper, b.width() * 0.12), pal::goldDark, pal::goldDark, outline * 0.5);
    fillLine(c, bellPath(b), pal::gold, pal::goldDark, outline);
}

void drawBadge(Canvas &c, QRgb colour)
{
    // Set off from the picture under it by a transparent ring.
    const QPointF at(24, 24);
    c.p.save();
    c.p.setCompositionMode(QPainter::CompositionMode_Clear);
    fill(c, circle(at, 9), 0);
    c.p.restore();
    fillLine(c, circle(at, 7), colour, pal::ink, 2);
}
