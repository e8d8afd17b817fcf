// The forecast panel's pictures, one per weather kind, 48 px.
#include "art.h"

using namespace Qt::StringLiterals;

namespace {

const QRectF upperCloud(5, 4, 38, 24);

void drops(Canvas &c, std::initializer_list<QPointF> tops, qreal height)
{
    for (QPointF top : tops)
        fillLine(c, dropPath(top, height), pal::rain, pal::rainDark, 1.2);
}

void flakes(Canvas &c, std::initializer_list<QPointF> centres, qreal radius, qreal width)
{
    for (QPointF at : centres)
        drawSnowflake(c, at, radius, pal::rain, width);
}

void smallStar(Canvas &c, QPointF at, qreal r)
{
    fillLine(c, starPath(at, r, r * 0.45), pal::goldPale, pal::goldDark, 1.0);
}

void clearNight(Canvas &c)
{
    drawMoon(c, QPointF(21, 26), 16);
    smallStar(c, QPointF(36, 11), 5);
    smallStar(c, QPointF(42, 24), 3.5);
}

void clearDay(Canvas &c)
{
    drawSun(c, QPointF(24, 24), 10, 6);
}

void partlyCloudyNight(Canvas &c)
{
    drawMoon(c, QPointF(17, 17), 12);
    smallStar(c, QPointF(37, 9), 3.5);
    drawCloud(c, QRectF(10, 21, 34, 21), pal::cloud, pal::cloudLine);
}

void partlyCloudyDay(Canvas &c)
{
    drawSun(c, QPointF(17, 17), 8, 4.5);
    drawCloud(c, QRectF(10, 21, 34, 21), pal::cloud, pal::cloudLine);
}

void cloudy(Canvas &c)
{
    drawCloud(c, QRectF(17, 8, 27, 18), pal::cloudMid, pal::cloudLine);
    drawCloud(c, QRectF(4, 18, 34, 22), pal::cloud, pal::cloudLine);
}

void overcast(Canvas &c)
{
    drawCloud(c, QRectF(14, 6, 31, 20), pal::cloudDark, pal::cloudDarkLine);
    drawCloud(c, QRectF(3, 17, 37, 24), pal::cloudMid, pal::cloudDarkLine);
}

void showers(Canvas &c)
{
    drawSun(c, QPointF(16, 14), 7, 4);
    drawCloud(c, QRectF(9, 12, 35, 22), pal::cloud, pal::cloudLine);
    drops(c, {QPointF(19, 35), QPointF(31, 36)}, 10);
}

void rain(Canvas &c)
{
    drawCloud(c, upperCloud, pal::cloudMid, pal::cloudDarkLine);
    for (qreal x : {14.0, 22.0, 30.0, 38.0}) {
        const qreal y = (int(x) / 8) % 2 ? 31 : 34;
        line(c, QPointF(x, y), QPointF(x - 4, y + 10), pal::rain, 3, 1.2);
    }
}

void thunderstorm(Canvas &c)
{
    drawCloud(c, upperCloud, pal::cloudDark, pal::cloudDarkLine);
    drops(c, {QPointF(12, 33), QPointF(37, 34)}, 9);
    fillLine(c, polygon({{27, 20}, {17, 34}, {23.5, 34}, {19, 46}, {33, 29}, {26, 29}, {31, 20}}), pal::gold,
             pal::goldDark, 1.5);
}

void hail(Canvas &c)
{
    drawCloud(c, upperCloud, pal::cloudMid, pal::cloudDarkLine);
    for (QPointF at : {QPointF(14, 34), QPointF(24, 35), QPointF(34, 34), QPointF(19, 43), QPointF(29, 43)})
        fillLine(c, circle(at, 3.2), pal::ice, pal::rainDark, 1.5);
}

void sleet(Canvas &c)
{
    drawCloud(c, upperCloud, pal::cloudMid, pal::cloudDarkLine);
    drops(c, {QPointF(13, 31), QPointF(35, 31)}, 11);
    flakes(c, {QPointF(24, 38)}, 6, 2.2);
}

void snow(Canvas &c)
{
    drawCloud(c, upperCloud, pal::cloud, pal::cloudLine);
    flakes(c, {QPointF(13, 35), QPointF(35, 35), QPointF(24, 41)}, 5.5, 2.2);
}

void heavySnow(Canvas &c)
{
    drawCloud(c, QRectF(5, 2, 38, 23), pal::cloudMid, pal::cloudDarkLine);
    flakes(c, {QPointF(10, 31), QPointF(22, 30), QPointF(35, 31), QPointF(16, 41), QPointF(28, 41), QPointF(40, 40)},
           4.3, 2);
}

void notAvailable(Canvas &c)
{
    drawCloud(c, QRectF(4, 9, 40, 27), pal::paperShade, pal::gray);
    drawQuestionMark(c, QRectF(18.5, 13, 11, 21), pal::grayDark, 4.2);
}

} // namespace

QList<Picture> weatherPictures()
{
    return {
        {u"_0_moon"_s, clearNight},       {u"_0_sun"_s, clearDay},         {u"_1_moon_cl"_s, partlyCloudyNight},
        {u"_1_sun_cl"_s, partlyCloudyDay}, {u"_2_cloudy"_s, cloudy},        {u"_3_pasmurno"_s, overcast},
        {u"_4_short_rain"_s, showers},    {u"_5_rain"_s, rain},            {u"_6_lightning"_s, thunderstorm},
        {u"_7_hail"_s, hail},             {u"_8_rain_swon"_s, sleet},      {u"_9_snow"_s, snow},
        {u"_10_heavy_snow"_s, heavySnow}, {u"_255_NA"_s, notAvailable},
    };
}
