// Toolbar pictures of the main window and the planner: 32 px, flat fills
// with a 2 px ink outline.
#include "art.h"

#include <QtMath>

using namespace Qt::StringLiterals;

namespace {

constexpr qreal ol = 2;   // outline width

void shape(Canvas &c, const QPainterPath &path, QRgb colour)
{
    fillLine(c, path, colour, pal::ink, ol);
}

void newEvent(Canvas &c)
{
    line(c, QPointF(15, 21), QPointF(15, 26), pal::ink, 4);
    shape(c, bellPath(QRectF(3, 2, 24, 21)), pal::gold);
    drawBadge(c, pal::green);
    line(c, QPointF(24, 20.5), QPointF(24, 27.5), pal::paper, 2.2);
    line(c, QPointF(20.5, 24), QPointF(27.5, 24), pal::paper, 2.2);
}

void tasks(Canvas &c)
{
    shape(c, rrect(QRectF(6, 4, 20, 26), 2.5), pal::paper);
    shape(c, rrect(QRectF(11, 2, 10, 5), 1.5), pal::grayLight);
    for (qreal y : {13.0, 19.0, 25.0}) {
        QPainterPath tick;
        tick.moveTo(9, y);
        tick.lineTo(11, y + 2);
        tick.lineTo(14.5, y - 2);
        stroke(c, tick, pal::green, 2);
        line(c, QPointF(17.5, y), QPointF(22.5, y), pal::inkSoft, 2);
    }
}

void phones(Canvas &c)
{
    shape(c, rrect(QRectF(6, 3, 21, 26), 2.5), pal::blue);
    const QRgb tabs[] = {pal::gold, pal::green, pal::red};
    for (int i = 0; i < 3; ++i)
        shape(c, rrect(QRectF(26, 7 + i * 6.5, 3, 4.5), 1), tabs[i]);
    line(c, QPointF(10, 4.5), QPointF(10, 27.5), pal::blueDark, 2);
    c.p.save();
    c.p.setClipRect(QRectF(0, 0, 32, 24));
    fill(c, personPath(QPointF(18.5, 11), 11), pal::paper);
    c.p.restore();
}

void notes(Canvas &c)
{
    shape(c, rrect(QRectF(6, 5, 20, 24), 2.5), pal::goldPale);
    c.p.fillRect(QRectF(7, 6, 18, 4), QColor::fromRgb(pal::gold));
    for (qreal x : {10.5, 16.0, 21.5})
        line(c, QPointF(x, 2.5), QPointF(x, 8), pal::ink, 2);
    for (qreal y : {15.0, 20.0, 25.0})
        line(c, QPointF(10, y), QPointF(22, y), pal::inkSoft, 1.6);
}

void backup(Canvas &c)
{
    shape(c, rrect(QRectF(4, 4, 22, 23), 2.5), pal::blue);
    shape(c, rrect(QRectF(9, 4, 12, 7), 1), pal::grayLight);
    shape(c, rrect(QRectF(8, 15, 14, 12), 1), pal::paper);
    drawBadge(c, pal::green);
    QPainterPath arrow;
    arrow.moveTo(24, 20);
    arrow.lineTo(24, 27.5);
    arrow.moveTo(20.8, 24.5);
    arrow.lineTo(24, 27.5);
    arrow.lineTo(27.2, 24.5);
    stroke(c, arrow, pal::paper, 2.2);
}

void reports(Canvas &c)
{
    QPainterPath page = polygon({{6, 3}, {20, 3}, {26, 9}, {26, 29}, {6, 29}});
    shape(c, page, pal::paper);
    shape(c, polygon({{20, 3}, {20, 9}, {26, 9}}), pal::grayLight);
    c.p.fillRect(QRectF(9, 13, 14, 4), QColor::fromRgb(pal::blue));
    stroke(c, rrect(QRectF(9, 13, 14, 13), 0.5), pal::inkSoft, 1.4);
    for (qreal y : {17.0, 21.5})
        line(c, QPointF(9, y), QPointF(23, y), pal::inkSoft, 1.4);
    line(c, QPointF(15, 13), QPointF(15, 26), pal::inkSoft, 1.4);
}

void support(Canvas &c)
{
    const QPointF o(16, 16);
    const QPainterPath ring = circle(o, 13).subtracted(circle(o, 6.5));
    fill(c, ring, pal::red);
    c.p.save();
    c.p.setClipPath(ring);
    for (int i = 0; i < 4; ++i) {
        QPainterPath wedge;
        wedge.moveTo(o);
        wedge.arcTo(QRectF(1, 1, 30, 30), 45 + i * 90 - 17, 34);
        wedge.closeSubpath();
        fill(c, wedge, pal::paper);
    }
    c.p.restore();
    stroke(c, ring, pal::ink, ol);
}

void about(Canvas &c)
{
    shape(c, circle(QPointF(16, 16), 13), pal::blue);
    fill(c, circle(QPointF(16, 9.5), 2.4), pal::paper);
    fill(c, rrect(QRectF(14, 14, 4, 11), 1.5), pal::paper);
}

void help(Canvas &c)
{
    shape(c, rrect(QRectF(6, 24, 20, 6), 1.5), pal::paper);
    shape(c, rrect(QRectF(6, 2, 21, 24), 2.5), pal::purple);
    line(c, QPointF(10, 3.5), QPointF(10, 24.5), pal::purpleDark, 2);
    drawQuestionMark(c, QRectF(14, 6, 8.5, 15), pal::paper, 2.8);
}

void back(Canvas &c)
{
    shape(c, polygon({{3, 16}, {15, 5}, {15, 11}, {28, 11}, {28, 21}, {15, 21}, {15, 27}}), pal::blue);
}

void add(Canvas &c)
{
    shape(c, rrect(QRectF(12, 4, 8, 24), 1.5).united(rrect(QRectF(4, 12, 24, 8), 1.5)).simplified(), pal::green);
}

void edit(Canvas &c)
{
    // Drawn lying along the x axis, then turned to point down-left.
    c.p.translate(16, 16);
    c.p.rotate(-45);
    shape(c, polygon({{-9, -4}, {-9, 4}, {-16, 0}}), pal::cream);
    fill(c, polygon({{-13.4, -1.5}, {-13.4, 1.5}, {-16, 0}}), pal::ink);
    shape(c, rrect(QRectF(-9, -4, 17, 8), 0), pal::gold);
    shape(c, rrect(QRectF(8, -4, 3, 8), 0), pal::grayLight);
    shape(c, rrect(QRectF(11, -4, 5, 8), 1.5), pal::pink);
}

void remove(Canvas &c)
{
    shape(c, rrect(QRectF(12, 2.5, 8, 4), 1.5), pal::grayLight);
    shape(c, polygon({{7.5, 9}, {24.5, 9}, {23, 29}, {9, 29}}), pal::red);
    shape(c, rrect(QRectF(5, 6, 22, 4), 1.5), pal::red);
    for (qreal x : {12.5, 16.0, 19.5})
        line(c, QPointF(x, 14), QPointF(x, 25), pal::paper, 1.6);
}

void options(Canvas &c)
{
    const QPointF o(16, 16);
    shape(c, gearPath(o, 14, 10.5, 8).subtracted(circle(o, 4.5)), pal::gray);
}

void category(Canvas &c)
{
    shape(c, tagPath(QRectF(3, 3, 26, 26)), pal::orange);
}

} // namespace

QList<Picture> toolbarPictures()
{
    return {
        {u"newevent"_s, newEvent}, {u"tasks"_s, tasks},   {u"phones"_s, phones},   {u"notes"_s, notes},
        {u"backup"_s, backup},     {u"reports"_s, reports}, {u"support"_s, support}, {u"about"_s, about},
        {u"help"_s, help},         {u"back"_s, back},     {u"add"_s, add},         {u"edit"_s, edit},
        {u"delete"_s, remove},     {u"options"_s, options}, {u"category"_s, category},
    };
}
