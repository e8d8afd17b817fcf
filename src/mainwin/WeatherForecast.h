#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The forecast service: request addresses and the readers of its two answers.
// Nothing here touches a window; the weather panel and its set-up dialog build on it.

// One period of the forecast that the panel can list (hour "3", "9", "15" or "21").
struct ForecastPeriod {
    int position = 0;  // the period's place among the forecast's children, from 0
    QString hour;
    QString date;      // shown unchanged
    QString pict;      // picture key, "_0_sun.gif" ...
    QString wpi;       // chance of precipitation in percent
    QString tMin, tMax;
    QString windMin, windMax;
    QString pMin, pMax;
    QString hmidMin, hmidMax;
};

// One city of a search answer.
struct FoundCity {
    QString name;
    QString country;
    QString id;
    // The list entry: "name(country)", or the name alone when there is no country.
    QString Entry() const;
};

// The service's base address without a trailing "/"; TESSARYN_WEATHER_BASE overrides it.
QString WeatherBaseAddress();
// The service's own page, opened from the set-up dialog.
QString WeatherServicePage();
QString ForecastUrl(const QString& cityId);
QString CitySearchUrl(const QString& searchText, const QString& languageCode);

// True when the id's leading number (blanks skipped, a sign and a fraction allowed)
// is not 0: an id of "0", "", or one that does not start with a number means no city.
bool HasWeatherCity(const QString& cityId);

// The periods at hours 3, 9, 15 and 21, in document order. *ok is false when the
// answer is not XML, has no "forecast" element, a period has no "hour", or a listed
// period lacks its date or any of its values. Periods at other hours are skipped.
QList<ForecastPeriod> ParseForecast(const QByteArray& answer, bool* ok);
// The cities of a search answer that have both a name and an id; *ok is false when
// the answer is not XML.
QList<FoundCity> ParseCities(const QByteArray& answer, bool* ok);

// The language key of a listed hour ("3" gives "mes315"), "" for any other hour.
QString PeriodKey(const QString& hour);
// t * 1.8 + 32 as text: at most 15 significant digits, no trailing zeros, the
// user's decimal separator ("37.4" for 3).
QString CelsiusToFahrenheit(int t);
// A temperature text as a whole number: a leading sign allowed, a fraction rounded
// to the nearest whole number, halves to even; false when it is not a number.
bool TemperatureNumber(const QString& text, int* value);
// "lo ... hi", each with a "+" unless it has a sign; in Fahrenheit the converted
// values. False when a Fahrenheit conversion meets a text that is not a number.
bool TemperatureText(const QString& lo, const QString& hi, bool fahrenheit, QString* text);
