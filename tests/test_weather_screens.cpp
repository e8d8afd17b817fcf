// Pictures of the weather panel and its set-up for looking at (written to
// <build>/tests/screens), and the check that every text fits its control in both
// languages. Run under Xvfb with "-platform xcb" to see the real window system.

#include "core/frmProcess.h"
#include "mainwin/WeatherPanel.h"
#include "mainwin/frmWeather.h"
#include "support/HttpServer.h"
#include "support/TestEnv.h"
#include "test_weather_answers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

QString screenPath(const char* name)
{
    const QString folder = QCoreApplication::applicationDirPath() + s("/screens");
    QDir().mkpath(folder);
    return folder + QLatin1Char('/') + s(name);
}

bool saved(QWidget* widget, const char* name)
{
    QCoreApplication::processEvents();
    return widget->grab().save(screenPath(name));
}

// The controls whose text needs more room than they have.
QString clipped(const QList<QWidget*>& controls)
{
    QStringList names;
    for (QWidget* control : controls) {
        auto* label = qobject_cast<QLabel*>(control);
        const bool fits = label && label->wordWrap()
                              ? label->heightForWidth(label->width()) <= label->height()
                              : control->sizeHint().width() <= control->width();
        if (!fits)
            names.append(control->objectName());
    }
    return names.join(s(", "));
}

class Screens : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        env.PrepareUser(s(GetParam()));
        qputenv("TESSARYN_WEATHER_BASE", server.Base().toUtf8());
        QList<answers::Period> periods = answers::FiveDays();
        periods[1].pict = s("_1_sun_cl.gif");
        periods[1].tMin = s("-12");
        periods[1].tMax = s("-8");
        periods[1].pMin = s("1012");
        periods[1].pMax = s("1016");
        periods[1].hmidMax = s("100");
        server.Serve(s("/1.2/forecast/27612?dayf=5&userid=tessaryn"), {200, answers::Forecast(periods)});
        server.ServeDefault({200, answers::Cities({{"26063", "Санкт-Петербург", "Россия"},
                                                   {"72214", "Saint Petersburg", "United States"},
                                                   {"11111", "Saint-Pierre", "Saint Pierre and Miquelon"}})});
        Forms::Get<frmProcess>().WeatherCityId = s("27612");
    }
    void TearDown() override { qunsetenv("TESSARYN_WEATHER_BASE"); }

    QString name(const char* stem) const { return s(stem) + s("_") + s(GetParam()) + s(".png"); }

    TestEnv env;
    HttpServer server;
};

}  // namespace

TEST_P(Screens, ThePanelShowsTheForecastAndEveryTextFits)
{
    QWidget host;
    host.setObjectName(s("host"));
    auto* panel = new WeatherPanel(&host);
    panel->move(12, 12);
    host.resize(panel->width() + 24, panel->height() + 24);
    panel->ApplyLanguage();
    host.show();

    panel->GetWeather5days();
    ASSERT_TRUE(PumpUntil([panel] { return !panel->IsLoading(); }));
    ASSERT_TRUE(panel->Picture3->isHidden());
    EXPECT_EQ(clipped({panel->Combo3, panel->Label3, panel->Label4, panel->Label13, panel->Label14, panel->Label15}),
              QString());
    EXPECT_TRUE(saved(&host, name("weather_panel").toUtf8().constData()));

    Forms::Get<frmProcess>().WeatherCityId = QString();
    panel->GetWeather5days();
    ASSERT_FALSE(panel->Picture3->isHidden());
    EXPECT_EQ(clipped({panel->Label5, panel->Command2}), QString());
    EXPECT_TRUE(saved(&host, name("weather_hint").toUtf8().constData()));
}

TEST_P(Screens, TheSetUpListsTheCitiesFoundAndEveryTextFits)
{
    frmWeather& dialog = Forms::Get<frmWeather>();
    dialog.show();
    dialog.Text1->setText(s("Saint P"));
    dialog.Command1->click();
    ASSERT_TRUE(PumpUntil([&dialog] { return dialog.Command1->isEnabled(); }));
    ASSERT_EQ(dialog.Combo1->count(), 3);
    EXPECT_EQ(clipped({dialog.Label5, dialog.Label12, dialog.Command1, dialog.Combo1, dialog.Check1,
                       dialog.Command3, dialog.Command2}),
              QString());
    EXPECT_LE(dialog.Frame2->fontMetrics().horizontalAdvance(dialog.Frame2->title()) + 20, dialog.Frame2->width());
    EXPECT_TRUE(saved(&dialog, name("weather_setup").toUtf8().constData()));
}

INSTANTIATE_TEST_SUITE_P(Languages, Screens, ::testing::Values("English", "Russian"));
