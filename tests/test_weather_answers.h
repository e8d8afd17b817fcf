#pragma once

// Answers of the forecast service for the weather tests, written the way the service
// lays them out: a "forecast" element with one child per period, and a city list.

#include "core/SourceText.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace answers {

struct Period {
    QString hour, date, pict, wpi;
    QString tMin, tMax, windMin, windMax, pMin, pMax, hmidMin, hmidMax;
};

struct City {
    const char* id;       // nullptr: no "id" attribute
    const char* name;     // nullptr: no "name" element
    const char* country;  // nullptr: no "country" element
};

inline const QStringList& PictureKeys()
{
    static const QStringList keys = {
        s("_0_moon.gif"), s("_0_sun.gif"), s("_1_moon_cl.gif"), s("_1_sun_cl.gif"), s("_2_cloudy.gif"),
        s("_3_pasmurno.gif"), s("_4_short_rain.gif"), s("_5_rain.gif"), s("_6_lightning.gif"),
        s("_7_hail.gif"), s("_8_rain_swon.gif"), s("_9_snow.gif"), s("_10_heavy_snow.gif"), s("_255_NA.gif")};
    return keys;
}

// Five days from 15 March, four periods a day; every value differs from period to period.
inline QList<Period> FiveDays()
{
    QList<Period> periods;
    const char* const hours[] = {"3", "9", "15", "21"};
    for (int i = 0; i < 20; ++i) {
        Period p;
        p.hour = s(hours[i % 4]);
        p.date = QString::number(15 + i / 4) + s(".03.2026");
        p.pict = PictureKeys().at(i % PictureKeys().size());
        p.wpi = QString::number(5 * i);
        p.tMin = QString::number(i - 4);
        p.tMax = QString::number(i - 1);
        p.windMin = QString::number(1 + i % 3);
        p.windMax = QString::number(4 + i % 3);
        p.pMin = QString::number(740 + i);
        p.pMax = QString::number(743 + i);
        p.hmidMin = QString::number(50 + i);
        p.hmidMax = QString::number(60 + i);
        periods.append(p);
    }
    return periods;
}

// Windows-1251 bytes of a text of ASCII and Russian letters.
inline QByteArray Cp1251(const QString& text)
{
    QByteArray bytes;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            bytes.append(static_cast<char>(u));
        else if (u >= 0x410 && u <= 0x44F)
            bytes.append(static_cast<char>(0xC0 + (u - 0x410)));
        else if (u == 0x401)
            bytes.append(static_cast<char>(0xA8));
        else if (u == 0x451)
            bytes.append(static_cast<char>(0xB8));
        else
            bytes.append('?');
    }
    return bytes;
}

inline QByteArray Encoded(const QString& xml, const char* encoding)
{
    return QByteArray(encoding) == "windows-1251" ? Cp1251(xml) : xml.toUtf8();
}

inline QString range(const char* name, const QString& min, const QString& max)
{
    return s("<%1><min>%2</min><max>%3</max></%1>").arg(s(name), min, max);
}

inline QByteArray Forecast(const QList<Period>& periods, const char* encoding = "utf-8")
{
    QString xml = s("<?xml version=\"1.0\" encoding=\"%1\"?>\n<weather>\n<forecast>\n").arg(s(encoding));
    for (const Period& p : periods) {
        xml += s("<day hour=\"%1\" date=\"%2\"><pict>%3</pict><wpi>%4</wpi>")
                   .arg(p.hour, p.date.toHtmlEscaped(), p.pict, p.wpi);
        xml += range("t", p.tMin, p.tMax) + range("wind", p.windMin, p.windMax) + range("p", p.pMin, p.pMax)
            + range("hmid", p.hmidMin, p.hmidMax) + s("</day>\n");
    }
    xml += s("</forecast>\n</weather>\n");
    return Encoded(xml, encoding);
}

inline QByteArray Cities(const QList<City>& cities, const char* encoding = "utf-8")
{
    QString xml = s("<?xml version=\"1.0\" encoding=\"%1\"?>\n<cities>\n").arg(s(encoding));
    for (const City& c : cities) {
        xml += c.id ? s("<city id=\"%1\">").arg(s(c.id).toHtmlEscaped()) : s("<city>");
        if (c.name)
            xml += s("<name>%1</name>").arg(s(c.name).toHtmlEscaped());
        if (c.country)
            xml += s("<country>%1</country>").arg(s(c.country).toHtmlEscaped());
        xml += s("</city>\n");
    }
    xml += s("</cities>\n");
    return Encoded(xml, encoding);
}

}  // namespace answers
