#include "WeatherForecast.h"

#include "core/Options.h"
#include "core/SourceText.h"
#include "platform/Web.h"
#include "platform/XmlReader.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace {

const char* const DefaultBase = "http://weather.kelmarosoft.com";
const char* const ServicePage = "http://weather.kelmarosoft.com/";
const char* const UserId = "tessaryn";

// The texts of a period's value element ("t", "wind", ...): its "min" and "max".
bool readRange(const QDomElement& period, const QString& name, QString* min, QString* max)
{
    bool ok = true;
    const QDomElement range = XmlReader::ChildByName(period, name, &ok);
    if (!ok)
        return false;
    *min = XmlReader::ChildText(range, s("min"), &ok).trimmed();
    *max = XmlReader::ChildText(range, s("max"), &ok).trimmed();
    return ok;
}

bool readPeriod(const QDomElement& element, ForecastPeriod* period)
{
    bool ok = true;
    period->date = XmlReader::Attribute(element, s("date"), &ok);
    period->pict = XmlReader::ChildText(element, s("pict"), &ok).trimmed();
    period->wpi = XmlReader::ChildText(element, s("wpi"), &ok).trimmed();
    return ok && readRange(element, s("t"), &period->tMin, &period->tMax)
        && readRange(element, s("wind"), &period->windMin, &period->windMax)
        && readRange(element, s("p"), &period->pMin, &period->pMax)
        && readRange(element, s("hmid"), &period->hmidMin, &period->hmidMax);
}

// A text the settings file can keep: line breaks and ";" become blanks.
QString storable(const QString& text)
{
    QString clean = text;
    for (QChar& c : clean) {
        if (c == QLatin1Char(';') || c.unicode() == 0)
            c = QLatin1Char(' ');
    }
    return clean.simplified();
}

}  // namespace

QString FoundCity::Entry() const
{
    return country.isEmpty() ? name : name + s("(") + country + s(")");
}

QString WeatherBaseAddress()
{
    QString base = qEnvironmentVariable("TESSARYN_WEATHER_BASE");
    if (base.isEmpty())
        base = s(DefaultBase);
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

QString WeatherServicePage() { return s(ServicePage); }

QString ForecastUrl(const QString& cityId)
{
    return WeatherBaseAddress() + s("/1.2/forecast/") + Web::EncodePathSegment(cityId) + s("?dayf=5&userid=")
        + Web::EncodeQuery(s(UserId));
}

QString CitySearchUrl(const QString& searchText, const QString& languageCode)
{
    return WeatherBaseAddress() + s("/1.2/city/?search=") + Web::EncodeQuery(searchText) + s("&lang=")
        + Web::EncodeQuery(languageCode);
}

bool HasWeatherCity(const QString& cityId)
{
    qsizetype i = 0;
    while (i < cityId.size() && cityId.at(i).isSpace())
        ++i;
    if (i < cityId.size() && (cityId.at(i) == QLatin1Char('+') || cityId.at(i) == QLatin1Char('-')))
        ++i;
    bool point = false;
    for (; i < cityId.size(); ++i) {
        const QChar c = cityId.at(i);
        if (c == QLatin1Char('.') && !point) {
            point = true;
            continue;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        if (c != QLatin1Char('0'))
            return true;
    }
    return false;
}

QList<ForecastPeriod> ParseForecast(const QByteArray& answer, bool* ok)
{
    *ok = false;
    XmlReader reader;
    if (!reader.LoadBytes(answer))
        return {};
    QDomElement forecast = reader.Root();
    bool found = true;
    if (forecast.tagName() != QLatin1String("forecast"))
        forecast = XmlReader::ChildByName(forecast, s("forecast"), &found);
    if (!found)
        return {};

    QList<ForecastPeriod> periods;
    int position = 0;
    for (QDomElement element = forecast.firstChildElement(); !element.isNull();
         element = element.nextSiblingElement(), ++position) {
        bool read = true;
        ForecastPeriod period;
        period.position = position;
        period.hour = XmlReader::Attribute(element, s("hour"), &read);
        if (!read)
            return {};
        if (PeriodKey(period.hour).isEmpty())
            continue;
        if (!readPeriod(element, &period))
            return {};
        periods.append(period);
    }
    *ok = true;
    return periods;
}

QList<FoundCity> ParseCities(const QByteArray& answer, bool* ok)
{
    *ok = false;
    XmlReader reader;
    if (!reader.LoadBytes(answer))
        return {};
    QList<FoundCity> cities;
    for (QDomElement element = reader.Root().firstChildElement(); !element.isNull();
         element = element.nextSiblingElement()) {
        // A missing element or attribute reads as "": such a city is left out.
        FoundCity city;
        city.name = storable(XmlReader::ChildText(element, s("name"), nullptr));
        city.id = XmlReader::Attribute(element, s("id"), nullptr).trimmed();
        city.country = storable(XmlReader::ChildText(element, s("country"), nullptr));
        if (city.name.isEmpty() || city.id.isEmpty() || !IsStorableSetting(city.id))
            continue;
        cities.append(city);
    }
    *ok = true;
    return cities;
}

QString PeriodKey(const QString& hour)
{
    if (hour == QLatin1String("3"))
        return s("mes315");
    if (hour == QLatin1String("9"))
        return s("mes316");
    if (hour == QLatin1String("15"))
        return s("mes317");
    if (hour == QLatin1String("21"))
        return s("mes318");
    return {};
}

QString CelsiusToFahrenheit(int t)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(t * 1.8 + 32.0, 'g', 15);
}

bool TemperatureNumber(const QString& text, int* value)
{
    bool ok = false;
    const double number = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(number))
        return false;
    const double rounded = std::nearbyint(number);
    if (rounded < std::numeric_limits<int>::min() || rounded > std::numeric_limits<int>::max())
        return false;
    *value = static_cast<int>(rounded);
    return true;
}

bool TemperatureText(const QString& lo, const QString& hi, bool fahrenheit, QString* text)
{
    // The service may send the sign itself; a "+" is added only where there is none.
    const auto withSign = [](const QString& t) {
        return t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+')) ? t : s("+") + t;
    };
    const QString low = withSign(lo);
    const QString high = withSign(hi);
    if (!fahrenheit) {
        *text = low + s(" ... ") + high;
        return true;
    }
    int l = 0;
    int h = 0;
    if (!TemperatureNumber(low, &l) || !TemperatureNumber(high, &h))
        return false;
    *text = CelsiusToFahrenheit(l) + s(" ... ") + CelsiusToFahrenheit(h);
    return true;
}
