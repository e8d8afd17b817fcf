// The program's own icons: tray and window icon, the three built-in event
// categories, the quick reminder, the empty nearest-event panel and the
// stand-in for a category picture that cannot be loaded.
#include "art.h"

using namespace Qt::StringLiterals;

namespace {

// A wall-calendar page with a coloured header and two binder rings. The
// smallest size is drawn on the pixel grid so its edges stay sharp.
QRectF calendarPage(Canvas &c, QRgb header, QRgb outline)
{
    QRectF page, band;
    qreal radius, ringW, ringTop, ringBottom, lineW;
    if (c.tiny()) {
        c.grid(16);
        page = QRectF(1.5, 2.5, 13, 12);
        band = QRectF(1, 2, 14, 4);
        radius = 1.5, ringW = 2, ringTop = 1, ringBottom = 4, lineW = 1;
    } else {
        page = QRectF(5, 8, 38, 36);
        band = QRectF(4, 7, 40, 11);
        radius = 5, ringW = 4, ringTop = 3, ringBottom = 12, lineW = 2.5;
    }
    const QPainterPath body = rrect(page, radius);
    fill(c, body, pal::paper);
    c.p.save();
    c.p.setClipPath(body);
    c.p.fillRect(band, QColor::fromRgb(header));
    c.p.restore();
    stroke(c, body, outline, lineW);
    const qreal third = page.width() / 3.5;
    for (qreal x : {page.center().x() - third, page.center().x() + third}) {
        const QRectF ring(x - ringW / 2, ringTop, ringW, ringBottom - ringTop);
        if (c.tiny())
            c.p.fillRect(ring, QColor::fromRgb(outline));
        else
            fill(c, rrect(ring, ringW / 2), outline);
    }
    return QRectF(page.left(), band.bottom(), page.width(), page.bottom() - band.bottom());
}

void trayIcon(Canvas &c)
{
    const QRectF body = calendarPage(c, pal::red, pal::ink);
    if (c.tiny()) {
        drawBell(c, QRectF(4, 6.6, 8, 8), 1);
        return;
    }
    const qreal bw = body.height() * 0.78;
    drawBell(c, QRectF(body.center().x() - bw / 2, body.top() + body.height() * 0.08, bw, bw), 2.2);
}

void emptyPanel(Canvas &c)
{
    const QRectF body = calendarPage(c, pal::grayLight, pal::gray);
    if (c.small())
        return;
    // Faint day rows, so the page reads as a calendar with nothing on it.
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 5; ++col)
            fill(c, rrect(QRectF(body.left() + 4 + col * 6.4, body.top() + 4 + row * 7, 4.2, 4), 1), pal::paperShade);
}

void birthday(Canvas &c)
{
    const bool tiny = c.tiny();
    fillLine(c, rrect(QRectF(3, 40, 42, 4), 2), pal::grayLight, pal::gray, 1.5);
    fillLine(c, rrect(QRectF(7, 23, 34, 19), 3), pal::cream, pal::brown, 2.2);
    QPainterPath icing = rrect(QRectF(7, 23, 34, 8), 3);
    for (qreal x : {13.0, 24.0, 35.0})
        icing = icing.united(circle(QPointF(x, 31), 3));
    fillLine(c, icing.simplified(), pal::pink, pal::pinkDark, 2.2);
    const QList<qreal> candles = tiny ? QList<qreal>{24} : QList<qreal>{15, 24, 33};
    for (qreal x : candles) {
        const qreal cw = tiny ? 6 : 4;
        fillLine(c, rrect(QRectF(x - cw / 2, 12, cw, 11), 1), pal::sky, pal::skyDark, 1.5);
        fillLine(c, dropPath(QPointF(x, tiny ? 0.5 : 2), tiny ? 10 : 8.5), pal::gold, pal::orange, 1.5);
    }
}

void meeting(Canvas &c)
{
    c.p.setClipRect(QRectF(0, 0, 48, 44));
    fillLine(c, personPath(QPointF(14, 14), 20), pal::sky, pal::skyDark, 2.2);
    fillLine(c, personPath(QPointF(34, 14), 20), pal::teal, pal::tealDark, 2.2);
    fillLine(c, personPath(QPointF(24, 21), 24), pal::blue, pal::blueDark, 2.2);
}

void holiday(Canvas &c)
{
    QPainterPath cord;
    cord.moveTo(2, 7);
    cord.quadTo(24, 19, 46, 7);
    const struct { qreal t; QRgb fill, line; } flags[] = {
        {0.18, pal::red, pal::redDark}, {0.5, pal::gold, pal::goldDark}, {0.82, pal::blue, pal::blueDark}};
    for (const auto &f : flags) {
        const QPointF top = cord.pointAtPercent(f.t);
        const qreal half = 7.5;
        fillLine(c, polygon({top + QPointF(-half, 0), top + QPointF(half, 0), top + QPointF(0, 26)}), f.fill, f.line,
                 2.2);
    }
    stroke(c, cord, pal::ink, 2.2, 1.2);
}

void alarmClock(Canvas &c)
{
    const QPointF centre(24, 26);
    for (qreal dx : {-1.0, 1.0}) {
        line(c, centre + QPointF(dx * 10, 11), centre + QPointF(dx * 14, 18), pal::ink, 3.5, 1.2);
        fillLine(c, circle(centre + QPointF(dx * 12, -14), 7), pal::red, pal::redDark, 2.2);
    }
    fillLine(c, circle(centre, 16), pal::red, pal::redDark, 2.2);
    fill(c, circle(centre, 11.5), pal::paper);
    line(c, centre, centre + QPointF(0, -8), pal::ink, 3, 1.2);
    line(c, centre, centre + QPointF(6, 3), pal::ink, 3, 1.2);
    fill(c, circle(centre, 2), pal::ink);
}

void genericCategory(Canvas &c)
{
    fillLine(c, tagPath(QRectF(4, 4, 40, 40)), pal::grayLight, pal::grayDark, 2.5);
}

} // namespace

QList<Picture> programPictures()
{
    return {
        {u"RES_0"_s, trayIcon},   {u"RES_1"_s, birthday},   {u"RES_2"_s, meeting},         {u"RES_3"_s, holiday},
        {u"RES_4"_s, alarmClock}, {u"RES_5"_s, emptyPanel}, {u"RES_GENERIC"_s, genericCategory},
    };
}
