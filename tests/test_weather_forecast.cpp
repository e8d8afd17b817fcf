#include "core/LanguageCodes.h"
#include "core/Options.h"
#include "mainwin/WeatherForecast.h"
#include "test_weather_answers.h"

#include <gtest/gtest.h>

#include <random>

namespace {

QList<ForecastPeriod> parse(const QByteArray& answer, bool* ok)
{
    *ok = true;
    return ParseForecast(answer, ok);
}

// The five-day answer with one period changed by `change`.
template <class Change>
QByteArray fiveDaysWith(int index, Change change)
{
    QList<answers::Period> periods = answers::FiveDays();
    change(periods[index]);
    return answers::Forecast(periods);
}

}  // namespace

TEST(ForecastAnswer, EveryPeriodOfFiveDaysIsReadWithItsPlace)
{
    bool ok = false;
    const QList<ForecastPeriod> periods = parse(answers::Forecast(answers::FiveDays()), &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(periods.size(), 20);
    const ForecastPeriod& p = periods.at(7);
    EXPECT_EQ(p.position, 7);
    EXPECT_EQ(p.hour, s("21"));
    EXPECT_EQ(p.date, s("16.03.2026"));
    EXPECT_EQ(p.pict, s("_5_rain.gif"));
    EXPECT_EQ(p.wpi, s("35"));
    EXPECT_EQ(p.tMin + s("/") + p.tMax, s("3/6"));
    EXPECT_EQ(p.windMin + s("/") + p.windMax, s("2/5"));
    EXPECT_EQ(p.pMin + s("/") + p.pMax, s("747/750"));
    EXPECT_EQ(p.hmidMin + s("/") + p.hmidMax, s("57/67"));
}

TEST(ForecastAnswer, PeriodsAtOtherHoursAreSkippedButKeepTheirPlaces)
{
    QList<answers::Period> periods = answers::FiveDays().mid(0, 3);
    periods[1].hour = s("6");
    periods.append(answers::FiveDays().at(3));
    periods[3].hour = s("03");  // hours are compared as texts
    // An unlisted period need not carry its values.
    QByteArray answer = answers::Forecast(periods);
    answer.replace("<day hour=\"6\" date=\"15.03.2026\"><pict>_0_sun.gif</pict>", "<day hour=\"6\">");
    bool ok = false;
    const QList<ForecastPeriod> listed = parse(answer, &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed.at(0).position, 0);
    EXPECT_EQ(listed.at(1).position, 2);
    EXPECT_EQ(listed.at(1).hour, s("15"));
}

TEST(ForecastAnswer, TheForecastMayBeTheDocumentItself)
{
    QByteArray answer = answers::Forecast(answers::FiveDays().mid(0, 2));
    answer.replace("<weather>\n", "").replace("</weather>\n", "");
    bool ok = false;
    EXPECT_EQ(parse(answer, &ok).size(), 2);
    EXPECT_TRUE(ok);
}

TEST(ForecastAnswer, DeclaredEncodingIsHonoured)
{
    QList<answers::Period> periods = answers::FiveDays();
    periods[1].date = s("пн, 15 марта");
    bool ok = false;
    const QList<ForecastPeriod> listed = parse(answers::Forecast(periods, "windows-1251"), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(listed.at(1).date, s("пн, 15 марта"));
}

TEST(ForecastAnswer, DamagedOrIncompleteAnswersFail)
{
    const QByteArray good = answers::Forecast(answers::FiveDays());
    QList<QByteArray> bad = {
        QByteArray(),
        "<html><body>Service unavailable</body></html>",
        "not xml at all",
        good.left(good.size() / 2),
        QByteArray(good).replace("<forecast>", "<forecasts>").replace("</forecast>", "</forecasts>"),
        QByteArray(good).replace("<day hour=\"9\" date=\"15.03.2026\"", "<day date=\"15.03.2026\""),
        QByteArray(good).replace("hour=\"15\" date=\"15.03.2026\"", "hour=\"15\""),
        fiveDaysWith(4, [](answers::Period& p) { p.pict = s("X"); }).replace("<pict>X</pict>", ""),
        fiveDaysWith(4, [](answers::Period& p) { p.wpi = s("X"); }).replace("<wpi>X</wpi>", ""),
        fiveDaysWith(19, [](answers::Period& p) { p.tMax = s("X"); }).replace("<max>X</max>", ""),
        fiveDaysWith(19, [](answers::Period& p) { p.hmidMin = s("X"); })
            .replace("<hmid><min>X</min><max>79</max></hmid>", ""),
    };
    for (const QByteArray& answer : bad) {
        bool ok = true;
        EXPECT_TRUE(parse(answer, &ok).isEmpty()) << answer.left(80).constData();
        EXPECT_FALSE(ok) << answer.left(80).constData();
    }
}

TEST(CityAnswer, CitiesNeedANameAndAnId)
{
    const QByteArray answer = answers::Cities({{"27612", "Moscow", "Russia"},
                                               {"1", nullptr, "Nowhere"},
                                               {"2", "", "Empty"},
                                               {nullptr, "No id", "Russia"},
                                               {"", "Empty id", "Russia"},
                                               {"26063", "Saint Petersburg", nullptr},
                                               {"33345", "Kyiv; centre\r\nline", "Ukraine"}});
    bool ok = false;
    const QList<FoundCity> cities = ParseCities(answer, &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(cities.size(), 3);
    EXPECT_EQ(cities.at(0).Entry(), s("Moscow(Russia)"));
    EXPECT_EQ(cities.at(0).id, s("27612"));
    EXPECT_EQ(cities.at(1).Entry(), s("Saint Petersburg"));
    // The entry is stored as it is listed, so it holds nothing the settings file cannot keep.
    EXPECT_EQ(cities.at(2).Entry(), s("Kyiv centre line(Ukraine)"));
    for (const FoundCity& city : cities)
        EXPECT_TRUE(IsStorableSetting(city.Entry()));
}

TEST(CityAnswer, NoCitiesIsAnAnswerAndDamageIsNot)
{
    bool ok = false;
    EXPECT_TRUE(ParseCities(answers::Cities({}), &ok).isEmpty());
    EXPECT_TRUE(ok);
    for (const QByteArray& answer : {QByteArray(), QByteArray("<cities><city id=\"1\"><name>A</name>"),
                                     QByteArray("Moscow(Russia)")}) {
        EXPECT_TRUE(ParseCities(answer, &ok).isEmpty());
        EXPECT_FALSE(ok);
    }
}

TEST(CityAnswer, Windows1251NamesAreRead)
{
    bool ok = false;
    const QList<FoundCity> cities = ParseCities(
        answers::Cities({{"27612", "Москва", "Россия"}, {"26063", "Санкт-Петербург", "Россия"}}, "windows-1251"),
        &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(cities.size(), 2);
    EXPECT_EQ(cities.at(0).Entry(), s("Москва(Россия)"));
    EXPECT_EQ(cities.at(1).Entry(), s("Санкт-Петербург(Россия)"));
}

TEST(WeatherRequest, AddressesEncodeWhatTheUserAndTheStoreGive)
{
    qputenv("TESSARYN_WEATHER_BASE", "http://127.0.0.1:8080/");
    EXPECT_EQ(ForecastUrl(s("27612")), s("http://127.0.0.1:8080/1.2/forecast/27612?dayf=5&userid=tessaryn"));
    EXPECT_EQ(ForecastUrl(s("12/3 4?x")),
              s("http://127.0.0.1:8080/1.2/forecast/12%2F3%204%3Fx?dayf=5&userid=tessaryn"));
    EXPECT_EQ(CitySearchUrl(s("New York"), s("en")), s("http://127.0.0.1:8080/1.2/city/?search=New+York&lang=en"));
    EXPECT_EQ(CitySearchUrl(s("a+b&c#d"), QString()),
              s("http://127.0.0.1:8080/1.2/city/?search=a%2Bb%26c%23d&lang="));
    EXPECT_EQ(CitySearchUrl(s("Уфа"), s("ru")), s("http://127.0.0.1:8080/1.2/city/?search=%D0%A3%D1%84%D0%B0&lang=ru"));
    qunsetenv("TESSARYN_WEATHER_BASE");
    EXPECT_TRUE(ForecastUrl(s("1")).startsWith(s("http://")));
    EXPECT_FALSE(ForecastUrl(s("1")).contains(s("127.0.0.1")));
}

TEST(WeatherRequest, LanguageCodesAndCityIds)
{
    EXPECT_EQ(LanguageCode(s("Russian")), s("ru"));
    EXPECT_EQ(LanguageCode(s("Ukrainian")), s("uk"));
    EXPECT_EQ(LanguageCode(s("Belorussian")), s("be"));
    EXPECT_EQ(LanguageCode(s("English")), s("en"));
    EXPECT_EQ(LanguageCode(s("german")), QString());
    for (const char* id : {"27612", " 12", "0.5", "-3", "12abc", "007"})
        EXPECT_TRUE(HasWeatherCity(s(id))) << id;
    for (const char* id : {"", "0", "000", "0.0", "abc", " ", "-", "x12", "."})
        EXPECT_FALSE(HasWeatherCity(s(id))) << id;
}

TEST(Temperature, FahrenheitTextsAndWholeNumbers)
{
    EXPECT_EQ(CelsiusToFahrenheit(5), s("41"));
    EXPECT_EQ(CelsiusToFahrenheit(3), s("37.4"));
    EXPECT_EQ(CelsiusToFahrenheit(-3), s("26.6"));
    EXPECT_EQ(CelsiusToFahrenheit(-17), s("1.4"));
    EXPECT_EQ(CelsiusToFahrenheit(-40), s("-40"));
    EXPECT_EQ(CelsiusToFahrenheit(2147483647), s("3865470596.6"));

    int value = 0;
    const std::pair<const char*, int> numbers[] = {{"+5", 5}, {"-3", -3}, {" 7 ", 7}, {"2.5", 2},
                                                   {"3.5", 4}, {"-2.5", -2}, {"0.6", 1}};
    for (const auto& [text, expected] : numbers) {
        ASSERT_TRUE(TemperatureNumber(s(text), &value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
    for (const char* text : {"", "+", "abc", "5C", "inf", "nan", "1e20"})
        EXPECT_FALSE(TemperatureNumber(s(text), &value)) << text;
}

TEST(Temperature, RangeTextsCarryTheirSign)
{
    QString text;
    ASSERT_TRUE(TemperatureText(s("0"), s("-3"), false, &text));
    EXPECT_EQ(text, s("+0 ... -3"));
    ASSERT_TRUE(TemperatureText(s("+5"), s("12"), false, &text));
    EXPECT_EQ(text, s("+5 ... +12"));
    ASSERT_TRUE(TemperatureText(s("+5"), s("-3"), true, &text));
    EXPECT_EQ(text, s("41 ... 26.6"));
    text = s("kept");
    EXPECT_FALSE(TemperatureText(s("warm"), s("3"), true, &text));
    EXPECT_EQ(text, s("kept"));
}

// Mutated answers: the readers never crash, and what they accept is whole.
TEST(WeatherFuzz, MutatedAnswersNeverBreakTheReaders)
{
    const QByteArray forecast = answers::Forecast(answers::FiveDays());
    const QByteArray cities = answers::Cities({{"27612", "Москва", "Россия"}, {"1", "Oslo", "Norway"},
                                               {"2", "A&B", "C"}}, "windows-1251");
    const QByteArray tokens[] = {"<", ">", "</day>", "<day hour=\"3\">", "&", "&amp;", "\"", "<![CDATA[",
                                 "]]>", "<!--", QByteArray(1, '\0'), "\xff\xfe", "<?xml version=\"1.0\"?>",
                                 "<forecast>", "<min>", "</max>", "hour=\"9\""};
    std::mt19937 random(20260315);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    int accepted = 0;
    for (int round = 0; round < 4000; ++round) {
        QByteArray answer = round % 2 ? forecast : cities;
        for (int edits = 1 + pick(4); edits > 0; --edits) {
            const int at = pick(static_cast<int>(answer.size()) + 1);
            switch (pick(5)) {
            case 0:
                if (!answer.isEmpty())
                    answer[std::min<int>(at, answer.size() - 1)] = static_cast<char>(pick(256));
                break;
            case 1: answer.remove(at, pick(40)); break;
            case 2: answer.insert(at, tokens[pick(std::size(tokens))]); break;
            case 3: answer.insert(at, answer.mid(pick(static_cast<int>(answer.size()) + 1), pick(60))); break;
            default: answer.truncate(at); break;
            }
        }
        bool ok = false;
        const QList<ForecastPeriod> periods = ParseForecast(answer, &ok);
        int last = -1;
        for (const ForecastPeriod& p : periods) {
            EXPECT_GT(p.position, last);
            last = p.position;
            EXPECT_FALSE(PeriodKey(p.hour).isEmpty());
            QString text;
            TemperatureText(p.tMin, p.tMax, true, &text);
        }
        accepted += ok ? 1 : 0;
        for (const FoundCity& city : ParseCities(answer, &ok)) {
            EXPECT_FALSE(city.name.isEmpty());
            EXPECT_TRUE(IsStorableSetting(city.Entry()) && IsStorableSetting(city.id));
        }
    }
    EXPECT_GT(accepted, 0);
}
