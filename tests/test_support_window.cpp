// The support window: the update check against the published version text, the
// support pages, one check at a time, and the choice of automatic checks kept at
// every close.

#include "test_event_fixture.h"

#include "core/NewVersion.h"
#include "core/XMLParser.h"
#include "events/frmWindow.h"
#include "platform/Shell.h"
#include "platform/TrayIcon.h"
#include "platform/Web.h"
#include "support/HttpServer.h"
#include "tools/frmSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace {

const char* const VersionPath = "/tessaryn/tsversion.txt";

class SupportTest : public EventWindowTest {
protected:
    void SetUp() override
    {
        EventWindowTest::SetUp();
        WriteMainXml(s("Version"), s("3.30"));
        siteBase(server.Base() + s("/"));
    }
    void TearDown() override
    {
        EventWindowTest::TearDown();
        siteBase(s("http://127.0.0.1:9/"));
        Web::SetTimeLimits(0, 0);
    }

    static void siteBase(const QString& base) { qputenv("TESSARYN_SITE_BASE", base.toUtf8()); }

    // A fresh window, shown, with the update check run from page 1.
    static frmSupport& checked()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frmSupport& window = Forms::Get<frmSupport>();
        window.show();
        next(window);
        return window;
    }
    // Next, and the check's answer shown.
    static void next(frmSupport& window)
    {
        window.cmdNext->click();
        EXPECT_TRUE(PumpUntil([&window] { return window.cmdMenu->isEnabled(); }, 20000));
    }

    static QString option() { return ReadOption(s("Update"), s("auto")); }

    using CloseWay = std::pair<const char*, std::function<void(frmSupport&)>>;
    static QList<CloseWay> closeWays()
    {
        return {
            {"Exit", [](frmSupport& window) { window.cmdExit->click(); }},
            {"Esc",
             [](frmSupport& window) {
                 QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                 QCoreApplication::sendEvent(&window, &escape);
             }},
            {"title bar", [](frmSupport& window) { window.close(); }},
        };
    }

    HttpServer server;
};

TEST_F(SupportTest, TheCheckComparesMainXmlWithThePublishedVersion)
{
    struct Case {
        const char* installed;
        HttpServer::Answer answer;
        const char* latest;
        const char* result;
    };
    const Case cases[] = {
        {"3.30", {200, "3.31"}, "3.31", "mes264"},
        {"3.30", {200, "3.31\r\n"}, "3.31", "mes264"},
        {"3.30", {200, "\xEF\xBB\xBF" "3.31"}, "3.31", "mes264"},
        {"3.30", {200, "4.0"}, "4.0", "mes264"},
        {"3.30", {200, "3.30.1"}, "3.30.1", "mes264"},
        {"3.30", {200, "3.30"}, "3.30", "mes265"},
        {"3.30", {200, "3.3"}, "3.3", "mes265"},
        {"3.30", {200, "3.29"}, "3.29", "mes265"},
        {"3.30", {200, "3.4"}, "3.4", "mes265"},
        {"3.30", {200, "3.29.9"}, "3.29.9", "mes265"},
        {"3.30", {200, ""}, "", "mes263"},
        {"3.30", {200, "<html><body><b>4.0</b></body></html>", 0, "text/html"}, "", "mes263"},
        {"3.30", {200, "500 Internal Server Error"}, "", "mes263"},
        {"3.30", {404, "3.31"}, "", "mes263"},
        {"", {200, "3.31"}, "3.31", "mes263"},
        {"0.0", {200, "3.31"}, "3.31", "mes263"},
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.installed) + " / " + c.answer.body.toStdString();
        WriteMainXml(s("Version"), s(c.installed));
        server.Serve(s(VersionPath), c.answer);
        frmSupport& window = checked();
        EXPECT_EQ(window.lblInstalled->text(), *c.installed ? s(c.installed) : GetLangText(s("mes257"))) << name;
        EXPECT_EQ(window.lblLatest->text(), s(c.latest)) << name;
        EXPECT_EQ(window.lblLatest->textFormat(), Qt::PlainText);
        EXPECT_EQ(window.lblResult->text(), GetLangText(s(c.result))) << name;
        const bool newer = s(c.result) == QLatin1String("mes264");
        EXPECT_EQ(window.cmdGet->isEnabled(), newer) << name;
        if (newer) {
            EXPECT_EQ(window.focusWidget(), window.cmdGet) << name;
        }
        Forms::Unload(&window);
    }
}

TEST_F(SupportTest, NoAnswerEndsTheCheckWithinTheLimitsAndRestoresThePointer)
{
    server.Serve(s(VersionPath), {200, "3.31", 5000});
    Web::SetTimeLimits(200, 400);
    for (const QString& base : {server.Base() + s("/"), s("http://127.0.0.1:9/")}) {
        siteBase(base);
        frmSupport& window = checked();
        EXPECT_EQ(window.lblLatest->text(), QString());
        EXPECT_EQ(window.lblResult->text(), GetLangText(s("mes263")));
        EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
        Forms::Unload(&window);
    }
}

TEST_F(SupportTest, MenuGoesBackAndTheCheckRunsAgain)
{
    server.Serve(s(VersionPath), {200, "3.31"});
    frmSupport& window = checked();
    window.cmdMenu->click();
    EXPECT_EQ(window.lblResult->text(), QString());
    EXPECT_FALSE(window.cmdGet->isEnabled());
    EXPECT_TRUE(window.Page1->isEnabled());
    EXPECT_TRUE(window.Page2->isHidden());
    EXPECT_TRUE(window.cmdMenu->isHidden());
    EXPECT_FALSE(window.cmdNext->isHidden());
    EXPECT_EQ(window.lblLatest->text(), s("3.31"));

    server.Serve(s(VersionPath), {200, "3.30"});
    next(window);
    EXPECT_EQ(window.lblResult->text(), GetLangText(s("mes265")));
    EXPECT_EQ(server.Requests().size(), 2);
}

// Each way of closing the window while its check waits; a window opened afterwards
// gets none of the answers.
TEST_F(SupportTest, TheWaitShowsOnTheWindowAloneAndEveryCloseCancelsIt)
{
    server.Serve(s(VersionPath), {200, "3.31", 3000});
    main().ShowModeless();
    int round = 0;
    for (const auto& [way, close] : closeWays()) {
        ++round;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frmSupport& window = Forms::Get<frmSupport>();
        window.show();
        window.cmdNext->click();
        ASSERT_TRUE(PumpUntil([&] { return server.Requests().size() == round; })) << way;
        EXPECT_EQ(window.lblLatest->text(), s("//") + GetLangText(s("mes262")) + s("...")) << way;
        EXPECT_EQ(window.cursor().shape(), Qt::BusyCursor) << way;
        EXPECT_EQ(main().cursor().shape(), Qt::ArrowCursor) << way;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << way;
        EXPECT_FALSE(window.cmdMenu->isHidden()) << way;
        EXPECT_FALSE(window.cmdMenu->isEnabled()) << way;
        EXPECT_TRUE(window.cmdExit->isEnabled()) << way;

        close(window);
        EXPECT_FALSE(Forms::IsLoaded<frmSupport>()) << way;
        EXPECT_TRUE(PumpUntil([&] { return server.Abandoned() == round; }, 500)) << way;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frmSupport& fresh = Forms::Get<frmSupport>();
    fresh.show();
    pump(3200);
    EXPECT_EQ(fresh.lblLatest->text(), GetLangText(s("mes257")));
    EXPECT_EQ(fresh.lblResult->text(), QString());
    EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
}

// The support window is modal: a reminder that falls due during its check is
// announced by the balloon and shown once the window closes.
TEST_F(SupportTest, ADueReminderDuringTheCheckIsAnnouncedThenShownWhenTheWindowCloses)
{
    server.Serve(s(VersionPath), {200, "", HttpServer::Never});
    ASSERT_TRUE(WriteOption(s("RemWindow"), s("musicpath"), QString()));
    addEvent(s("Work"), s("Dentist"), Now().date(), s("14:31"));
    process().DateRefresh();
    main().ShowModeless();
    auto announced = [] {
        QList<TrayIcon::Balloon> balloons = TrayIcon::HeldBalloons() + TrayIcon::ShownBalloons();
        return std::any_of(balloons.cbegin(), balloons.cend(), [](const TrayIcon::Balloon& balloon) {
            return balloon.text == GetLangText(s("mes247"));
        });
    };
    auto reminderShown = [] { return Forms::Find<frmWindow>() && Forms::Find<frmWindow>()->isVisible(); };

    qint64 announcedAfter = -1;
    bool shownMeanwhile = true;
    QElapsedTimer sinceDue;
    whenShown<frmSupport>([&](frmSupport& window) {
        window.cmdNext->click();
        ASSERT_TRUE(PumpUntil([&] { return server.Requests().size() == 1; }));
        // Due one second into the hang.
        Clock::SetRunningFrom(Now().addSecs(59));
        process().Timer1->start();
        sinceDue.start();
        PumpUntil(announced, 3000);
        announcedAfter = sinceDue.elapsed();
        shownMeanwhile = reminderShown();
        window.cmdExit->click();
    });
    frmSupport::ShowFor(main());
    EXPECT_GT(announcedAfter, 800);
    EXPECT_LT(announcedAfter, 1500);
    EXPECT_FALSE(shownMeanwhile);
    EXPECT_TRUE(PumpUntil(reminderShown, 1000));
}

TEST_F(SupportTest, TheSupportPagesAndGetOpenTheHomePageOfTheLanguage)
{
    const QString programFolder = env.Root() + s("/program");
    QByteArray plain = ReadFile(TestEnv::BuildShare() + s("/Language/English.ini"));
    plain.truncate(plain.indexOf("[Site]"));
    WriteFile(programFolder + s("/Language/Plain.ini"), plain);
    for (const char* shipped : {"English", "Russian"})
        WriteFile(programFolder + s("/Language/") + s(shipped) + s(".ini"),
                  ReadFile(TestEnv::BuildShare() + s("/Language/") + s(shipped) + s(".ini")));
    process().AppPath = programFolder;
    server.Serve(s(VersionPath), {200, "3.31"});

    struct Case {
        const char* language;
        const char* home;
        const char* contacts;
    };
    const Case cases[] = {{"English", "/en", "/en/contacts.php"},
                          {"Russian", "/ru", "/ru/contacts.php"},
                          {"Plain", "/", "/contacts.php"}};
    for (const auto& [language, home, contacts] : cases) {
        process().LanguageName = s(language);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frmSupport& window = Forms::Get<frmSupport>();
        window.optSupport->setChecked(true);
        window.cmdNext->click();
        EXPECT_EQ(Shell::Opened().last(), server.Base() + s(contacts));
        EXPECT_TRUE(window.Page2->isHidden());
        window.optUpdate->setChecked(true);
        next(window);
        window.cmdGet->click();
        EXPECT_EQ(Shell::Opened().last(), server.Base() + s(home));
        Forms::Unload(&window);
    }
}

TEST_F(SupportTest, AutoIsReadTrimmedAndWrittenAtEveryClose)
{
    struct Stored {
        const char* value;  // nullptr: no such key
        bool ticked;
    };
    const Stored stored[] = {{"1", true},   {" 1", true},  {"0", false}, {"", false},
                             {nullptr, false}, {"abc", false}, {"2", false}};
    QByteArray withoutKey = ReadFile(OptionsFilePath());
    withoutKey.truncate(withoutKey.indexOf("[Update]"));
    for (const Stored& before : stored) {
        for (const auto& [way, close] : closeWays()) {
            if (before.value)
                ASSERT_TRUE(WriteOption(s("Update"), s("auto"), s(before.value)));
            else
                WriteFile(OptionsFilePath(), withoutKey);
            const QString fday = ReadOption(s("General"), s("fday"));
            const QString transp = ReadOption(s("RemWindow"), s("transp"));

            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            frmSupport& window = Forms::Get<frmSupport>();
            window.show();
            EXPECT_EQ(window.chkAuto->isChecked(), before.ticked) << way;
            window.chkAuto->setChecked(!before.ticked);
            close(window);
            EXPECT_FALSE(Forms::IsLoaded<frmSupport>()) << way;
            EXPECT_EQ(option(), before.ticked ? s("0") : s("1")) << way;
            EXPECT_EQ(ReadOption(s("General"), s("fday")), fday);
            EXPECT_EQ(ReadOption(s("RemWindow"), s("transp")), transp);
        }
    }
}

TEST_F(SupportTest, OpensModalFromTheToolbarAndTheTray)
{
    main().ShowModeless();
    const std::pair<QAction*, Form*> openers[] = {{main().ToolbarButton(15), &main()},
                                                  {process().mUpGrate, &process()}};
    for (const auto& [entry, owner] : openers) {
        ASSERT_TRUE(entry->isEnabled());
        bool shown = false;
        whenShown<frmSupport>([&shown, owner](frmSupport& window) {
            shown = true;
            EXPECT_EQ(window.parentWidget(), owner);
            EXPECT_TRUE(window.isModal());
            window.cmdExit->click();
        });
        entry->trigger();
        EXPECT_TRUE(shown);
    }
}

}  // namespace
