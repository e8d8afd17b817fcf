#include "core/Options.h"
#include "core/frmProcess.h"
#include "mainwin/WeatherForecast.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmWeather.h"
#include "platform/FileSystem.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"
#include "support/HttpServer.h"
#include "support/TestEnv.h"
#include "test_weather_answers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

QStringList items(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->itemText(i));
    return texts;
}

class Setup : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.PrepareUser();
        qputenv("TESSARYN_WEATHER_BASE", server.Base().toUtf8());
        server.ServeDefault({200, answers::Cities({}), 0, "text/xml"});
    }
    void TearDown() override { qunsetenv("TESSARYN_WEATHER_BASE"); }

    static frmProcess& process() { return Forms::Get<frmProcess>(); }
    frmWeather& load()
    {
        dialog = &Forms::Get<frmWeather>();
        return *dialog;
    }
    // A search, and its answer shown.
    void search(const QString& text)
    {
        dialog->Text1->setText(text);
        dialog->Command1->click();
        ASSERT_TRUE(PumpUntil([this] { return dialog->Command1->isEnabled(); }));
    }
    void storeCity(const char* id, const char* name, const char* unit)
    {
        EXPECT_TRUE(WriteOption(s("General"), s("wcityid"), s(id)));
        EXPECT_TRUE(WriteOption(s("General"), s("wcityname"), s(name)));
        EXPECT_TRUE(WriteOption(s("General"), s("wtempid"), s(unit)));
    }
    // The state the dialog leaves when no city can be chosen.
    void expectNothingToChoose(const char* what) const
    {
        EXPECT_EQ(dialog->Combo1->count(), 0) << what;
        EXPECT_EQ(dialog->Combo2->count(), 0) << what;
        EXPECT_TRUE(dialog->Combo1->isHidden()) << what;
        EXPECT_FALSE(dialog->Command3->isEnabled()) << what;
        EXPECT_TRUE(dialog->Command1->isEnabled()) << what;
    }

    TestEnv env;
    HttpServer server;
    QPointer<frmWeather> dialog;
};

}  // namespace

TEST_F(Setup, TheChosenCityOfASearchIsStoredWithTheUnit)
{
    server.Serve(s("/1.2/city/?search=Saint+Pe&lang=en"),
                 {200,
                  answers::Cities({{"26063", "Saint Petersburg", "Russia"},
                                   {nullptr, "Saint Peter Port", "Guernsey"},
                                   {"72214", "Saint Petersburg", "USA"},
                                   {"11111", "Saint Pesaro", "Italy"}}),
                  0, "text/xml"});
    load();
    EXPECT_EQ(dialog->windowTitle(), s("Weather set-up"));
    EXPECT_EQ(dialog->Check1->text(), s("Fahrenheit - ° F"));
    EXPECT_FALSE(dialog->Command3->isEnabled());
    search(s("Saint Pe"));

    EXPECT_EQ(items(dialog->Combo1),
              (QStringList{s("Saint Petersburg(Russia)"), s("Saint Petersburg(USA)"), s("Saint Pesaro(Italy)")}));
    EXPECT_EQ(items(dialog->Combo2), (QStringList{s("26063"), s("72214"), s("11111")}));
    EXPECT_FALSE(dialog->Combo1->isHidden());
    EXPECT_EQ(dialog->Combo1->currentIndex(), 0);
    EXPECT_TRUE(dialog->Command3->isEnabled());

    dialog->Combo1->setCurrentIndex(1);
    EXPECT_EQ(dialog->Combo2->currentIndex(), 1);
    dialog->Check1->setChecked(true);
    dialog->Command3->click();

    EXPECT_EQ(ReadOption(s("General"), s("wcityname")), s("Saint Petersburg(USA)"));
    EXPECT_EQ(ReadOption(s("General"), s("wcityid")), s("72214"));
    EXPECT_EQ(ReadOption(s("General"), s("wtempid")), s("F"));
    EXPECT_EQ(process().WeatherCityName, s("Saint Petersburg(USA)"));
    EXPECT_EQ(process().WeatherCityId, s("72214"));
    EXPECT_EQ(process().WeatherTempId, s("F"));
    EXPECT_FALSE(Forms::IsLoaded<frmWeather>());
    EXPECT_TRUE(Forms::IsLoaded<frmMain>());
    EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
}

TEST_F(Setup, AChoiceTheSettingsFileCannotTakeKeepsTheWindowOpenAndTheFormerCity)
{
    storeCity("26063", "Saint Petersburg(Russia)", "C");
    process().WeatherCityId = s("26063");
    server.Serve(s("/1.2/city/?search=Oslo&lang=en"),
                 {200, answers::Cities({{"1234", "Oslo", "Norway"}}), 0, "text/xml"});
    load();
    search(s("Oslo"));
    FileSystem::SetAtomicWriteFailsBeforeRename(true);
    dialog->Command3->click();
    FileSystem::SetAtomicWriteFailsBeforeRename(false);

    EXPECT_EQ(MsgBoxScript::Log().value(0).text, GetLangText(s("mes395")));
    EXPECT_TRUE(Forms::IsLoaded<frmWeather>());
    EXPECT_EQ(ReadOption(s("General"), s("wcityid")), s("26063"));
    EXPECT_EQ(process().WeatherCityId, s("26063"));
}

TEST_F(Setup, SearchTextsAreEncodedAndTheLanguageIsNamed)
{
    load();
    search(s("New York"));
    search(s("a+b&c#d"));
    process().LanguageName = s("Russian");
    search(s("  Москва "));
    process().LanguageName = s("German");
    search(s("Oslo"));
    EXPECT_EQ(server.Requests(), (QStringList{s("/1.2/city/?search=New+York&lang=en"),
                                              s("/1.2/city/?search=a%2Bb%26c%23d&lang=en"),
                                              s("/1.2/city/?search=%D0%9C%D0%BE%D1%81%D0%BA%D0%B2%D0%B0&lang=ru"),
                                              s("/1.2/city/?search=Oslo&lang=")}));
}

TEST_F(Setup, Windows1251CityNamesAreListedAndStored)
{
    server.ServeDefault(
        {200, answers::Cities({{"27612", "Москва", "Россия"}, {"28698", "Омск", "Россия"}}, "windows-1251"), 0,
         "text/xml"});
    load();
    search(s("М"));
    EXPECT_EQ(items(dialog->Combo1), (QStringList{s("Москва(Россия)"), s("Омск(Россия)")}));
    dialog->Command3->click();
    EXPECT_EQ(ReadOption(s("General"), s("wcityname")), s("Москва(Россия)"));
    EXPECT_EQ(ReadOption(s("General"), s("wtempid")), s("C"));
}

TEST_F(Setup, ASearchWithoutCitiesLeavesTheStoredCity)
{
    storeCity("27612", "Moscow(Russia)", "C");
    const QByteArray before = ReadFile(OptionsFilePath());
    load();
    search(s("Atlantis"));
    expectNothingToChoose("none found");
    EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
    dialog->Command3->click();
    EXPECT_TRUE(Forms::IsLoaded<frmWeather>());
    EXPECT_EQ(ReadFile(OptionsFilePath()), before);
}

TEST_F(Setup, AFailedSearchClearsTheListsAndSaysSo)
{
    storeCity("27612", "Moscow(Russia)", "F");
    const QByteArray before = ReadFile(OptionsFilePath());
    const QByteArray three = answers::Cities({{"1", "A", "X"}, {"2", "B", "X"}, {"3", "C", "X"}});
    struct Case {
        const char* what;
        HttpServer::Answer answer;
        bool offline = false;
    };
    const QList<Case> cases = {
        {"error page", {500, three}},
        {"not xml", {200, "Moscow(Russia)"}},
        {"truncated", {200, three.left(three.size() - 30)}},
        {"empty", {200, ""}},
        {"over the cap", {200, three + QByteArray((1 << 20) + 1, ' ')}},
        {"no network", {200, three}, true},
    };
    load();
    int boxes = 0;
    for (const Case& c : cases) {
        server.ServeDefault({200, three, 0, "text/xml"});
        qputenv("TESSARYN_WEATHER_BASE", server.Base().toUtf8());
        search(s("A"));
        ASSERT_EQ(dialog->Combo1->count(), 3) << c.what;

        server.ServeDefault(c.answer);
        if (c.offline)
            qputenv("TESSARYN_WEATHER_BASE", "http://127.0.0.1:9");
        search(s("A"));
        expectNothingToChoose(c.what);
        ASSERT_EQ(MsgBoxScript::Log().size(), ++boxes) << c.what;
        EXPECT_EQ(MsgBoxScript::Log().last().text, s("The city search could not be made. Please check the "
                                                       "connection to the Internet and try again later."))
            << c.what;
        EXPECT_EQ(MsgBoxScript::Log().last().buttons, 48) << c.what;
    }
    EXPECT_EQ(ReadFile(OptionsFilePath()), before);
    EXPECT_EQ(process().WeatherCityId, QString());
}

TEST_F(Setup, AnEmptySearchTextIsRefused)
{
    load();
    for (const char* text : {"", "   "}) {
        search(s(text));
        ASSERT_FALSE(MsgBoxScript::Log().isEmpty());
        EXPECT_EQ(MsgBoxScript::Log().last().text, s("Type the beginning of the text to search for!"));
        EXPECT_EQ(MsgBoxScript::Log().last().buttons, 48);
    }
    EXPECT_TRUE(server.Requests().isEmpty());
}

TEST_F(Setup, TheStoredCityIsOfferedAndStoredAgainUnchanged)
{
    storeCity("27612", "Moscow(Russia)", "F");
    const QByteArray before = ReadFile(OptionsFilePath());
    load();
    EXPECT_EQ(items(dialog->Combo1), QStringList{s("Moscow(Russia)")});
    EXPECT_EQ(dialog->Combo1->currentIndex(), 0);
    EXPECT_EQ(dialog->Combo2->currentText(), s("27612"));
    EXPECT_FALSE(dialog->Combo1->isHidden());
    EXPECT_TRUE(dialog->Check1->isChecked());
    dialog->Command3->click();
    EXPECT_EQ(ReadFile(OptionsFilePath()), before);
    EXPECT_EQ(process().WeatherCityId, s("27612"));

    // Half a stored city cannot be stored again: nothing is offered.
    storeCity("27612", "", "C");
    load();
    EXPECT_EQ(dialog->Combo1->count(), 0);
    EXPECT_FALSE(dialog->Command3->isEnabled());
    EXPECT_FALSE(dialog->Check1->isChecked());
}

TEST_F(Setup, CancelLeavesSettingsAndStateAsTheyWere)
{
    storeCity("27612", "Moscow(Russia)", "C");
    process().WeatherCityId = s("27612");
    const QByteArray before = ReadFile(OptionsFilePath());
    server.ServeDefault({200, answers::Cities({{"1", "Oslo", "Norway"}}), 0, "text/xml"});
    load();
    search(s("Oslo"));
    dialog->Check1->setChecked(true);
    dialog->Command2->click();
    EXPECT_FALSE(Forms::IsLoaded<frmWeather>());
    EXPECT_EQ(ReadFile(OptionsFilePath()), before);
    EXPECT_EQ(process().WeatherCityId, s("27612"));
}

TEST_F(Setup, EnterSearchesAndThePictureOpensTheServicePage)
{
    load();
    dialog->Text1->setText(s("Oslo"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, s("\r"));
    QCoreApplication::sendEvent(dialog->Text1, &enter);
    ASSERT_TRUE(PumpUntil([this] { return dialog->Command1->isEnabled(); }));
    EXPECT_EQ(server.Requests(), QStringList{s("/1.2/city/?search=Oslo&lang=en")});
    EXPECT_TRUE(Forms::IsLoaded<frmWeather>());

    const QPointF centre(10, 10);
    QMouseEvent press(QEvent::MouseButtonPress, centre, centre, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, centre, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dialog->Image2, &press);
    QCoreApplication::sendEvent(dialog->Image2, &release);
    EXPECT_EQ(Shell::Opened(), QStringList{WeatherServicePage()});
}

TEST_F(Setup, TheSearchWaitsOnTheDialogAloneAndCancelDropsIt)
{
    server.ServeDefault({200, answers::Cities({{"1", "Oslo", "Norway"}}), HttpServer::Never, "text/xml"});
    Form& owner = Forms::Get<frmMain>();
    load();
    dialog->Text1->setText(s("Oslo"));
    dialog->Command1->click();
    ASSERT_TRUE(PumpUntil([this] { return server.Requests().size() == 1; }));
    EXPECT_EQ(dialog->cursor().shape(), Qt::BusyCursor);
    EXPECT_EQ(owner.cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(dialog->Command1->isEnabled());
    EXPECT_TRUE(dialog->Command2->isEnabled());

    dialog->Command2->click();
    EXPECT_FALSE(Forms::IsLoaded<frmWeather>());
    EXPECT_TRUE(PumpUntil([this] { return server.Abandoned() == 1; }));
    EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
}
