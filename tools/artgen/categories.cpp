// Category pictures offered by the category editor: sixteen ICOs, each its own
// shape and colour.
#include "art.h"

#include <QPainterPathStroker>
#include <QtMath>

using namespace Qt::StringLiterals;

namespace {

constexpr qreal ol = 2.2;   // outline width

QPainterPath turned(const QPainterPath &path, QPointF about, qreal degrees)
{
    QTransform t;
    t.translate(about.x(), about.y());
    t.rotate(degrees);
    t.translate(-about.x(), -about.y());
    return t.map(path);
}

QPainterPath pentagon(QPointF centre, qreal r, qreal rotation = 0)
{
    return turned(starPath(centre, r, r * qCos(qDegreesToRadians(36.0))), centre, rotation);
}

void work(Canvas &c)
{
    stroke(c, rrect(QRectF(16.5, 7, 15, 12), 3), pal::ink, 3.2, 1.2);
    fillLine(c, rrect(QRectF(4, 14, 40, 29), 4), pal::inkSoft, pal::ink, ol);
    line(c, QPointF(5, 26), QPointF(43, 26), pal::ink, ol);
    fillLine(c, rrect(QRectF(20, 22, 8, 8), 1.5), pal::gold, pal::goldDark, 1.5);
}

void meeting(Canvas &c)
{
    c.p.setClipRect(QRectF(0, 0, 48, 44));
    fillLine(c, personPath(QPointF(32, 13), 21), pal::bluePale, pal::blueDark, ol);
    fillLine(c, personPath(QPointF(17, 18), 25), pal::blue, pal::blueDark, ol);
}

void call(Canvas &c)
{
    // A handset seen from the side: an arc round the upper right corner with
    // an ear cup and a mouth cup swelling inwards at its ends.
    const QPointF centre(37, 11);
    const qreal radius = 24;
    QPainterPath spine;
    spine.arcMoveTo(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), 188);
    spine.arcTo(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), 188, 74);
    QPainterPathStroker stroker;
    stroker.setWidth(9);
    QPainterPath handset = stroker.createStroke(spine);
    for (qreal degrees : {188.0, 262.0}) {
        const qreal a = qDegreesToRadians(degrees);
        const QPointF end = centre + radius * QPointF(qCos(a), -qSin(a));
        QTransform t;
        t.translate(end.x(), end.y());
        t.rotate(-degrees);
        handset = handset.united(t.map(rrect(QRectF(-11, -6, 16.5, 12), 4.5)));
    }
    fillLine(c, handset.simplified(), pal::green, pal::greenDark, ol);
}

void travel(Canvas &c)
{
    const QPointF o(24, 24);
    QPainterPath plane = rrect(QRectF(20.5, 3, 7, 42), 3.5);
    plane = plane.united(polygon({{4, 28}, {21, 16}, {27, 16}, {44, 28}, {44, 32}, {27, 26}, {21, 26}, {4, 32}}));
    plane = plane.united(polygon({{15, 43}, {22, 37}, {26, 37}, {33, 43}, {33, 45.5}, {15, 45.5}}));
    fillLine(c, turned(plane.simplified(), o, 45), pal::sky, pal::skyDark, ol);
}

void holiday(Canvas &c)
{
    // A beach umbrella leaning over a mound of sand.
    QPainterPath sand;
    sand.moveTo(1, 46);
    sand.cubicTo(8, 34, 40, 34, 47, 46);
    sand.closeSubpath();
    const QPointF hub(23, 22);
    c.p.save();
    c.p.translate(hub);
    c.p.rotate(-16);
    c.p.translate(-hub);
    line(c, QPointF(24, 16), QPointF(24, 41), pal::brownDark, 3, 1.2);
    QPainterPath canopy;
    canopy.moveTo(4, 22);
    canopy.arcTo(QRectF(4, 4, 40, 36), 180, -180);
    for (int i = 0; i < 4; ++i)
        canopy.arcTo(QRectF(44 - (i + 1) * 10, 17, 10, 10), 0, 180);
    canopy.closeSubpath();
    fill(c, canopy, pal::orange);
    if (!c.tiny()) {
        // Every other panel white, from the top of the canopy to its scallops (widened; the clip trims).
        const auto edge = [](qreal x) { return QPointF(24 + (x - 24) * 1.5, 32); };
        c.p.setClipPath(canopy);
        for (qreal x : {14.0, 34.0})
            fill(c, polygon({{24, 2}, edge(x), edge(x + 10)}), pal::paper);
        c.p.setClipping(false);
    }
    stroke(c, canopy, pal::orangeDark, ol);
    c.p.restore();
    fillLine(c, sand, pal::amberPale, pal::amberDark, ol);
}

void sport(Canvas &c)
{
    const QPointF o(24, 24);
    const QPainterPath ball = circle(o, 20);
    fill(c, ball, pal::paper);
    c.p.save();
    c.p.setClipPath(ball);
    fill(c, pentagon(o, 7.5), pal::ink);
    for (int i = 0; i < 5; ++i) {
        const qreal a = qDegreesToRadians(-90.0 + i * 72);
        const QPointF dir(qCos(a), qSin(a));
        line(c, o + dir * 7, o + dir * 17, pal::ink, 1.8);
        fill(c, pentagon(o + dir * 21.5, 6, 36), pal::ink);
    }
    c.p.restore();
    stroke(c, ball, pal::ink, ol);
}

void health(Canvas &c)
{
    const QPointF o(24, 24);
    c.p.save();
    c.p.translate(o);
    c.p.rotate(-45);
    const QPainterPath pill = rrect(QRectF(-21, -9, 42, 18), 9);
    fill(c, pill, pal::paper);
    c.p.setClipRect(QRectF(-22, -10, 22, 20));
    fill(c, pill, pal::teal);
    c.p.setClipping(false);
    line(c, QPointF(0, -9), QPointF(0, 9), pal::tealDark, ol);
    stroke(c, pill, pal::tealDark, ol);
    c.p.restore();
}

void study(Canvas &c)
{
    QPainterPath cap;
    cap.moveTo(12, 21);
    cap.lineTo(12, 32);
    cap.cubicTo(18, 38, 30, 38, 36, 32);
    cap.lineTo(36, 21);
    cap.closeSubpath();
    fillLine(c, cap, pal::indigo, pal::indigoDark, ol);
    fillLine(c, polygon({{24, 6}, {46, 16}, {24, 26}, {2, 16}}), pal::indigo, pal::indigoDark, ol);
    QPainterPath cord;
    cord.moveTo(24, 16);
    cord.lineTo(40, 20);
    cord.lineTo(40, 31);
    stroke(c, cord, pal::gold, 2.2, 1.2);
    fillLine(c, rrect(QRectF(37.5, 30, 5, 8), 1.5), pal::gold, pal::goldDark, 1.2);
}

void shopping(Canvas &c)
{
    fillLine(c, polygon({{8, 16}, {40, 16}, {43, 44}, {5, 44}}), pal::magenta, pal::magentaDark, ol);
    QPainterPath handle;
    handle.moveTo(17, 22);
    handle.lineTo(17, 14);
    handle.arcTo(QRectF(17, 5, 14, 16), 180, -180);
    handle.lineTo(31, 22);
    stroke(c, handle, pal::magentaDark, 3, 1.2);
}

void money(Canvas &c)
{
    for (int i = 0; i < 3; ++i) {
        const qreal y = 36 - i * 7;
        fillLine(c, rrect(QRectF(3, y, 24, 8), 4), pal::amber, pal::amberDark, ol);
    }
    const QPointF o(30, 29);
    fillLine(c, circle(o, 14), pal::amber, pal::amberDark, ol);
    if (!c.tiny())
        fillLine(c, circle(o, 9), pal::amberPale, pal::amberDark, 1.6);
}

void music(Canvas &c)
{
    QPainterPath note = polygon({{16, 11}, {40, 5}, {40, 11}, {16, 17}});
    note = note.united(rrect(QRectF(14.5, 12, 4, 24), 0));
    note = note.united(rrect(QRectF(37.5, 6, 4, 24), 0));
    QPainterPath heads;
    heads.addEllipse(QPointF(0, 0), 7, 5);
    for (QPointF at : {QPointF(11, 36), QPointF(34, 30)}) {
        QTransform t;
        t.translate(at.x(), at.y());
        t.rotate(-20);
        note = note.united(t.map(heads));
    }
    fillLine(c, note.simplified(), pal::purple, pal::purpleDark, ol);
}

void car(Canvas &c)
{
    QPainterPath body = rrect(QRectF(2, 21, 44, 15), 5);
    body = body.united(polygon({{10, 22}, {15, 10}, {32, 10}, {39, 22}}));
    fillLine(c, body.simplified(), pal::red, pal::redDark, ol);
    if (!c.tiny()) {
        fill(c, polygon({{14, 21}, {17.5, 13}, {23, 13}, {23, 21}}), pal::bluePale);
        fill(c, polygon({{26, 21}, {26, 13}, {30.5, 13}, {35.5, 21}}), pal::bluePale);
    }
    for (qreal x : {13.0, 35.0}) {
        fillLine(c, circle(QPointF(x, 36), 6), pal::ink, pal::ink, 1);
        fill(c, circle(QPointF(x, 36), 2.5), pal::grayLight);
    }
}

void home(Canvas &c)
{
    fillLine(c, rrect(QRectF(9, 21, 30, 23), 1), pal::cream, pal::brownDark, ol);
    fillLine(c, rrect(QRectF(20, 30, 8, 14), 1), pal::brown, pal::brownDark, 1.6);
    fillLine(c, polygon({{24, 4}, {46, 24}, {40, 24}, {24, 10}, {8, 24}, {2, 24}}), pal::brown, pal::brownDark, ol);
}

void gift(Canvas &c)
{
    for (qreal dx : {-1.0, 1.0}) {
        QPainterPath loop;
        loop.moveTo(24, 14);
        loop.cubicTo(24 + dx * 6, 2, 24 + dx * 17, 4, 24 + dx * 12, 14);
        stroke(c, loop, pal::redDark, 3.2, 1.2);
    }
    fillLine(c, rrect(QRectF(7, 22, 34, 22), 2), pal::lime, pal::limeDark, ol);
    fillLine(c, rrect(QRectF(4, 14, 40, 9), 2), pal::lime, pal::limeDark, ol);
    fillLine(c, rrect(QRectF(21, 14, 6, 30), 0), pal::red, pal::redDark, 1.4);
}

void star(Canvas &c)
{
    fillLine(c, starPath(QPointF(24, 26), 22, 10), pal::gold, pal::goldDark, ol);
}

void heart(Canvas &c)
{
    fillLine(c, heartPath(QRectF(3, 6, 42, 38)), pal::rose, pal::roseDark, ol);
}

} // namespace

QList<Picture> categoryPictures()
{
    return {
        {u"Work"_s, work},     {u"Meeting"_s, meeting},   {u"Call"_s, call},   {u"Travel"_s, travel},
        {u"Holiday"_s, holiday}, {u"Sport"_s, sport},     {u"Health"_s, health}, {u"Study"_s, study},
        {u"Shopping"_s, shopping}, {u"Money"_s, money},   {u"Music"_s, music}, {u"Car"_s, car},
        {u"Home"_s, home},     {u"Gift"_s, gift},         {u"Star"_s, star},   {u"Heart"_s, heart},
    };
}
