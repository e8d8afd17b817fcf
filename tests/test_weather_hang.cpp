// The program while the forecast service takes connections and never answers:
// reminders, the tray and Exit do not wait for it.

#include "test_event_fixture.h"
#include "test_weather_answers.h"

#include "events/frmWindow.h"
#include "platform/MsgBox.h"
#include "support/HttpServer.h"

#include <QComboBox>
#include <QFrame>
#include <QMenu>

#include <chrono>
#include <thread>

namespace {

const QString Target = s("/1.2/forecast/27612?dayf=5&userid=tessaryn");

class HangingService : public EventWindowTest {
protected:
    void SetUp() override
    {
        EventWindowTest::SetUp();
        qputenv("TESSARYN_WEATHER_BASE", server.Base().toUtf8());
        server.Serve(Target, {200, answers::Forecast(answers::FiveDays()), 0, "text/xml"});
        process().WeatherCityId = s("27612");
        EXPECT_TRUE(WriteOption(s("RemWindow"), s("musicpath"), QString()));
    }
    void TearDown() override
    {
        EventWindowTest::TearDown();
        qunsetenv("TESSARYN_WEATHER_BASE");
    }

    static WeatherPanel& weather() { return *main().Weather; }
    // The main window shown with its forecast, and the next answer never coming.
    void showThenHang()
    {
        main().ShowModeless();
        ASSERT_TRUE(PumpUntil([] { return !weather().IsLoading(); }));
        ASSERT_EQ(weather().Combo3->count(), 20);
        server.Serve(Target, {200, "", HttpServer::Never});
    }

    HttpServer server;
};

}  // namespace

TEST_F(HangingService, RemindersAndTheTrayKeepWorkingDuringARefresh)
{
    showThenHang();
    addEvent(s("Work"), s("Dentist"), Now().date(), s("14:31"));
    process().DateRefresh();
    main().GetWeather5days();
    ASSERT_TRUE(PumpUntil([this] { return server.Requests().size() == 2; }));

    // Due one second into the hang.
    Clock::SetRunningFrom(Now().addSecs(59));
    process().Timer1->start();
    QElapsedTimer sinceDue;
    sinceDue.start();
    process().mPopUp->popup(QPoint(20, 20));
    EXPECT_TRUE(PumpUntil([] { return process().mPopUp->isVisible(); }, 500));
    process().mPopUp->close();
    ASSERT_TRUE(PumpUntil([] { return Forms::Find<frmWindow>() && Forms::Find<frmWindow>()->isVisible(); }));
    EXPECT_LT(sinceDue.elapsed(), 5000);  // far below the 15 s the hanging download may take
    EXPECT_TRUE(weather().IsLoading());
    EXPECT_EQ(weather().Combo3->count(), 20);
    EXPECT_TRUE(weather().Picture3->isHidden());
}

TEST_F(HangingService, ExitDuringARefreshEndsTheProcessAtOnce)
{
    // The child runs the test afresh, so that its download runs on its own thread.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    showThenHang();
    main().GetWeather5days();
    ASSERT_TRUE(PumpUntil([this] { return server.Requests().size() == 2; }));
    EXPECT_EXIT(
        {
            std::thread([] {
                std::this_thread::sleep_for(std::chrono::seconds(1));
                std::_Exit(3);
            }).detach();
            MsgBoxScript::Push(vbYes);
            process().mExit_Click();
        },
        ::testing::ExitedWithCode(0), "");
}
