#include "core/Resources.h"
#include "core/frmProcess.h"
#include "mainwin/WeatherPanel.h"
#include "mainwin/frmWeather.h"
#include "platform/Clock.h"
#include "platform/MsgBox.h"
#include "platform/Web.h"
#include "support/HttpServer.h"
#include "support/TestEnv.h"
#include "test_weather_answers.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString Target = s("/1.2/forecast/27612?dayf=5&userid=tessaryn");
const QDateTime Moment(QDate(2026, 3, 15), QTime(10, 0));

void click(QWidget* control, Qt::MouseButton button = Qt::LeftButton)
{
    const QPointF centre = QRectF(control->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, centre, control->mapToGlobal(centre), button, button,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, control->mapToGlobal(centre), button, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(control, &press);
    QCoreApplication::sendEvent(control, &release);
}

class Panel : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.PrepareUser();
        qputenv("TESSARYN_WEATHER_BASE", server.Base().toUtf8());
        process().WeatherCityId = s("27612");
        process().WeatherTempId = s("C");
        Clock::SetFixed(Moment);
        panel->ApplyLanguage();
    }
    void TearDown() override
    {
        qunsetenv("TESSARYN_WEATHER_BASE");
        Web::SetTimeLimits(0, 0);
    }

    static frmProcess& process() { return Forms::Get<frmProcess>(); }
    // A refresh, and its answer shown.
    void refresh()
    {
        panel->GetWeather5days();
        ASSERT_TRUE(PumpUntil([this] { return !panel->IsLoading(); }, 20000));
    }
    void serve(const QByteArray& body, int status = 200, int delayMs = 0)
    {
        server.Serve(Target, {status, body, delayMs, "text/xml"});
    }
    // What the panel shows of the chosen period.
    QString shown() const
    {
        return QStringList{panel->Label3->text(), panel->Label13->text(), panel->Label14->text(),
                           panel->Label15->text(), panel->Label4->text()}
            .join(s(" | "));
    }
    bool pictureIs(const char* key) const
    {
        return panel->Image2->pixmap().toImage() == WeatherPicture(s(key)).toImage();
    }
    bool hintShown() const { return !panel->Picture3->isHidden(); }

    TestEnv env;
    HttpServer server;
    Form host{s("frmHost"), Form::MainWindow};
    WeatherPanel* panel = new WeatherPanel(&host);
};

}  // namespace

TEST_F(Panel, FiveDaysAreListedAndChoosingAPeriodDownloadsNothing)
{
    serve(answers::Forecast(answers::FiveDays()));
    process().LastWeatherUpdate = QDateTime();
    refresh();

    ASSERT_EQ(panel->Combo3->count(), 20);
    EXPECT_EQ(panel->Combo3->itemText(0), s("15.03.2026 (night)"));
    EXPECT_EQ(panel->Combo3->itemText(1), s("15.03.2026 (morning)"));
    EXPECT_EQ(panel->Combo3->itemText(2), s("15.03.2026 (afternoon)"));
    EXPECT_EQ(panel->Combo3->itemText(19), s("19.03.2026 (evening)"));
    EXPECT_EQ(panel->Combo3->currentIndex(), 1);
    EXPECT_EQ(shown(), s("-3 ... +0 | Wind: 2-5 m/s | Pressure: 741-744 | Humidity: 51-61 | ~5%"));
    EXPECT_TRUE(pictureIs("_0_sun.gif"));
    EXPECT_FALSE(hintShown());
    EXPECT_EQ(process().LastWeatherUpdate, Moment);

    panel->Combo3->setCurrentIndex(18);
    EXPECT_EQ(shown(), s("+14 ... +17 | Wind: 1-4 m/s | Pressure: 758-761 | Humidity: 68-78 | ~90%"));
    EXPECT_TRUE(pictureIs("_2_cloudy.gif"));
    EXPECT_EQ(server.Requests(), QStringList{Target});
    EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
}

TEST_F(Panel, FahrenheitConvertsTheRange)
{
    process().WeatherTempId = s("F");
    serve(answers::Forecast(answers::FiveDays()));
    refresh();
    EXPECT_EQ(panel->Label3->text(), s("26.6 ... 32"));
    panel->Combo3->setCurrentIndex(4);
    EXPECT_EQ(panel->Label3->text(), s("32 ... 37.4"));
    panel->Combo3->setCurrentIndex(9);
    EXPECT_EQ(panel->Label3->text(), s("41 ... 46.4"));
}

TEST_F(Panel, Windows1251AnswerAndTheLanguageOfTheList)
{
    QList<answers::Period> periods = answers::FiveDays();
    periods[0].date = s("вс, 15 марта");
    periods[1].date = s("вс, 15 марта");
    serve(answers::Forecast(periods, "windows-1251"));
    refresh();
    EXPECT_EQ(panel->Combo3->itemText(1), s("вс, 15 марта (morning)"));

    process().LanguageName = s("Russian");
    panel->ApplyLanguage();
    EXPECT_EQ(panel->Combo3->itemText(0), s("вс, 15 марта (ночь)"));
    EXPECT_EQ(panel->Combo3->itemText(2), s("15.03.2026 (день)"));
    EXPECT_EQ(panel->Label13->text(), s("Ветер: 2-5 м/с"));
    EXPECT_EQ(panel->Label5->text(), s("Город не выбран, или прогноз недоступен."));
    EXPECT_EQ(panel->Command2->text(), s("Настроить погоду"));
    EXPECT_EQ(server.Requests().size(), 1);
}

TEST_F(Panel, APeriodAtAnotherHourIsNeitherListedNorShown)
{
    QList<answers::Period> periods = answers::FiveDays();
    answers::Period six = periods.at(0);
    six.hour = s("6");
    six.tMin = s("30");
    six.tMax = s("31");
    periods.insert(1, six);
    serve(answers::Forecast(periods));
    refresh();

    ASSERT_EQ(panel->Combo3->count(), 20);
    EXPECT_EQ(panel->Combo3->itemText(1), s("15.03.2026 (morning)"));
    EXPECT_EQ(panel->Combo3->itemData(1).toInt(), 2);
    EXPECT_EQ(panel->Label3->text(), s("-3 ... +0"));
    panel->Combo3->setCurrentIndex(0);
    EXPECT_EQ(panel->Label3->text(), s("-4 ... -1"));
    panel->Combo3->setCurrentIndex(2);
    EXPECT_EQ(panel->Label3->text(), s("-2 ... +1"));
}

TEST_F(Panel, EveryFailedRefreshShowsTheHintWithoutAMessage)
{
    const QList<answers::Period> five = answers::FiveDays();
    const QByteArray good = answers::Forecast(five);
    QList<answers::Period> badPicture = five;
    badPicture[1].pict = s("_99_fog.gif");
    QList<answers::Period> warm = five;
    warm[1].tMin = s("warm");
    struct Case {
        const char* what;
        QByteArray body;
        int status = 200;
        int delayMs = 0;
        bool fahrenheit = false;
        bool offline = false;
    };
    const QList<Case> cases = {
        {"no network", good, 200, 0, false, true},
        {"slow", good, 200, 1500},
        {"error page", "<html>Not here</html>", 503},
        {"empty", ""},
        {"not xml", "Service is down"},
        {"truncated", good.left(good.size() - 200)},
        {"missing element", QByteArray(good).replace("<hmid><min>55</min><max>65</max></hmid>", "")},
        {"missing attribute", QByteArray(good).replace("<day hour=\"21\" date=\"17.03.2026\"", "<day date=\"x\"")},
        {"fewer periods", answers::Forecast(five.mid(0, 1))},
        {"over the cap", QByteArray(good).replace("<weather>", "<weather><!--" + QByteArray(1 << 20, 'x') + "-->")},
        {"unknown picture", answers::Forecast(badPicture)},
        {"no number in Fahrenheit", answers::Forecast(warm), 200, 0, true},
    };
    for (const Case& c : cases) {
        process().WeatherTempId = s("C");
        qputenv("TESSARYN_WEATHER_BASE", server.Base().toUtf8());
        serve(good);
        refresh();
        ASSERT_EQ(panel->Combo3->count(), 20) << c.what;

        process().WeatherTempId = c.fahrenheit ? s("F") : s("C");
        if (c.offline)
            qputenv("TESSARYN_WEATHER_BASE", "http://127.0.0.1:9");
        serve(c.body, c.status, c.delayMs);
        Web::SetTimeLimits(c.delayMs ? 300 : 0, c.delayMs ? 600 : 0);
        refresh();
        Web::SetTimeLimits(0, 0);
        EXPECT_EQ(panel->Combo3->count(), 0) << c.what;
        EXPECT_TRUE(hintShown()) << c.what;
        EXPECT_EQ(panel->Label3->text(), QString()) << c.what;
    }
    EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
}

TEST_F(Panel, ARefreshOfTheSameCityJoinsAndAnotherCityDropsTheOldAnswer)
{
    serve(answers::Forecast(answers::FiveDays()), 200, HttpServer::Never);
    panel->GetWeather5days();
    ASSERT_TRUE(PumpUntil([this] { return server.Requests().size() == 1; }));
    panel->GetWeather5days();

    QList<answers::Period> warm = answers::FiveDays();
    warm[1].tMin = s("20");
    warm[1].tMax = s("25");
    const QString other = s("/1.2/forecast/26063?dayf=5&userid=tessaryn");
    server.Serve(other, {200, answers::Forecast(warm), 0, "text/xml"});
    process().WeatherCityId = s("26063");
    refresh();
    EXPECT_EQ(panel->Label3->text(), s("+20 ... +25"));
    EXPECT_EQ(server.Requests(), (QStringList{Target, other}));
    EXPECT_TRUE(PumpUntil([this] { return server.Abandoned() == 1; }));
}

TEST_F(Panel, WithoutACityNothingIsDownloaded)
{
    serve(answers::Forecast(answers::FiveDays()));
    int minute = 0;
    for (const char* id : {"0", "", "abc", " 0"}) {
        const QDateTime now = Moment.addSecs(60 * ++minute);
        Clock::SetFixed(now);
        process().WeatherCityId = s(id);
        refresh();
        EXPECT_TRUE(hintShown()) << id;
        EXPECT_EQ(process().LastWeatherUpdate, now) << id;
    }
    EXPECT_TRUE(server.Requests().isEmpty());
}

TEST_F(Panel, OnlyAChosenPeriodThatCannotBeShownIsReported)
{
    QList<answers::Period> periods = answers::FiveDays();
    periods[5].pict = s("_99_fog.gif");
    serve(answers::Forecast(periods));
    refresh();
    const QString before = shown();
    ASSERT_TRUE(MsgBoxScript::Log().isEmpty());

    panel->Combo3->setCurrentIndex(5);
    ASSERT_EQ(MsgBoxScript::Log().size(), 1);
    EXPECT_EQ(MsgBoxScript::Log().at(0).text, s("The forecast could not be loaded."));
    EXPECT_EQ(MsgBoxScript::Log().at(0).buttons, 48);
    EXPECT_EQ(MsgBoxScript::Log().at(0).title, s("Tessaryn"));
    EXPECT_EQ(panel->Combo3->currentIndex(), 1);
    EXPECT_EQ(shown(), before);
    EXPECT_TRUE(pictureIs("_0_sun.gif"));

    panel->ShowForecast(20);
    EXPECT_EQ(MsgBoxScript::Log().size(), 2);
    EXPECT_FALSE(hintShown());
}

TEST_F(Panel, TheSetUpOpensModallyOverTheMainWindow)
{
    for (QWidget* opener : {static_cast<QWidget*>(panel->Command2), static_cast<QWidget*>(panel->Image3)}) {
        bool modalOverHost = false;
        QTimer::singleShot(0, [&] {
            frmWeather* dialog = Forms::Find<frmWeather>();
            modalOverHost = dialog && dialog->isVisible() && dialog->IsShownModal() && dialog->parentWidget() == &host;
            if (dialog)
                dialog->Command2->click();
        });
        if (opener == panel->Command2)
            panel->Command2->click();
        else
            click(panel->Image3);
        EXPECT_TRUE(modalOverHost) << opener->objectName().toStdString();
        EXPECT_FALSE(Forms::IsLoaded<frmWeather>());
    }
}

TEST_F(Panel, TheTemperatureTakesTheCalendarBackToToday)
{
    int requests = 0;
    QObject::connect(panel, &WeatherPanel::todayRequested, [&] { ++requests; });
    click(panel->Label3, Qt::RightButton);
    EXPECT_EQ(requests, 0);
    click(panel->Label3);
    EXPECT_EQ(requests, 1);
}
