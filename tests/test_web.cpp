#include "core/NewVersion.h"
#include "core/Options.h"
#include "core/SourceText.h"
#include "core/XMLParser.h"
#include "platform/Clock.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"
#include "platform/Web.h"
#include "support/HttpServer.h"
#include "events/frmWindow.h"
#include "support/TestEnv.h"

#include <QDialog>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <functional>

#include <random>
#include <vector>

namespace {

struct Answer {
    bool done = false;
    bool ok = false;
    QByteArray body;
};

// Starts a download whose answer lands in *answer.
Web::Download* start(const QString& url, Answer* answer)
{
    auto* download = new Web::Download(url);
    QObject::connect(download, &Web::Download::finished, [answer](const QByteArray& body, bool ok) {
        *answer = {true, ok, body};
    });
    return download;
}

Answer fetch(const QString& url)
{
    Answer answer;
    start(url, &answer);
    EXPECT_TRUE(PumpUntil([&] { return answer.done; }, 20000)) << url.toStdString();
    return answer;
}

}  // namespace

TEST(Download, OnlyA2xxAnswerWithinTheLimitsCounts)
{
    TestEnv env;
    HttpServer server;
    server.Serve(s("/ok.txt"), {200, "3.31\r\n"});
    server.Serve(s("/missing.txt"), {404, "404 Not Found"});
    server.Serve(s("/slow.txt"), {200, "late", 1500});
    server.Serve(s("/cap.txt"), {200, QByteArray(Web::BodyCap, 'x')});
    server.Serve(s("/big.txt"), {200, QByteArray(Web::BodyCap + 1, 'x')});
    struct Case {
        QString url;
        bool ok;
    };
    const Case cases[] = {
        {server.Base() + s("/ok.txt"), true},         {server.Base() + s("/missing.txt"), false},
        {server.Base() + s("/slow.txt"), false},      {server.Base() + s("/cap.txt"), true},
        {server.Base() + s("/big.txt"), false},       {s("http://127.0.0.1:9/refused"), false},
        {s("file:///etc/passwd"), false},             {s("not an address"), false},
    };
    Web::SetTimeLimits(300, 500);
    for (const Case& c : cases) {
        const Answer answer = fetch(c.url);
        EXPECT_EQ(answer.ok, c.ok) << c.url.toStdString();
        EXPECT_EQ(answer.body.isEmpty(), !c.ok) << c.url.toStdString();
    }
    Web::SetTimeLimits(0, 0);
    EXPECT_EQ(fetch(server.Base() + s("/ok.txt")).body, QByteArray("3.31\r\n"));
}

TEST(Download, TheSameAddressSharesOneTransferThatEndsWhenNoDownloadIsLeft)
{
    TestEnv env;
    HttpServer server;
    server.Serve(s("/late.txt"), {200, "3.31", 300});
    server.Serve(s("/never.txt"), {200, "", HttpServer::Never});

    Answer first;
    Answer second;
    Answer left;
    start(server.Base() + s("/late.txt"), &first);
    Web::Download* leaving = start(server.Base() + s("/late.txt"), &left);
    start(server.Base() + s("/late.txt"), &second);
    delete leaving;
    ASSERT_TRUE(PumpUntil([&] { return first.done && second.done; }));
    EXPECT_EQ(first.body, QByteArray("3.31"));
    EXPECT_EQ(second.body, QByteArray("3.31"));
    EXPECT_FALSE(left.done);
    EXPECT_EQ(server.Requests().size(), 1);

    // The last download of a hanging address gone, its connection is dropped at once.
    Answer dropped;
    Web::Download* hanging = start(server.Base() + s("/never.txt"), &dropped);
    ASSERT_TRUE(PumpUntil([&] { return server.Requests().size() == 2; }));
    QElapsedTimer timer;
    timer.start();
    delete hanging;
    ASSERT_TRUE(PumpUntil([&] { return server.Abandoned() == 1; }));
    EXPECT_LT(timer.elapsed(), 5000);  // far below the 15 s of the download's time limit
    EXPECT_FALSE(dropped.done);
}

// A slot may delete its own download, also from the nested event loop of a question
// it asks; the other downloads of the address are answered meanwhile.
TEST(Download, ASlotMayDeleteItsDownloadAndItsQuestionHoldsBackNoOtherAnswer)
{
    TestEnv env;
    HttpServer server;
    server.Serve(s("/late.txt"), {200, "3.31", 100});
    const QString url = server.Base() + s("/late.txt");
    Answer second;
    bool answeredMeanwhile = false;
    auto* first = new Web::Download(url);
    QObject::connect(first, &Web::Download::finished, [&] {
        // As under a message box: events run until it is answered.
        answeredMeanwhile = PumpUntil([&] { return second.done; }, 3000);
        delete first;
    });
    start(url, &second);
    ASSERT_TRUE(PumpUntil([&] { return second.done; }));
    EXPECT_TRUE(answeredMeanwhile);
    EXPECT_EQ(second.body, QByteArray("3.31"));
}

TEST(Download, QueryTextsArePercentEncodedAsUtf8)
{
    EXPECT_EQ(Web::EncodeQuery(s("New York")), s("New+York"));
    EXPECT_EQ(Web::EncodeQuery(s("a+b&c#d")), s("a%2Bb%26c%23d"));
    EXPECT_EQ(Web::EncodeQuery(s("Москва")), s("%D0%9C%D0%BE%D1%81%D0%BA%D0%B2%D0%B0"));
    EXPECT_EQ(Web::EncodePathSegment(s("12/3 4")), s("12%2F3%204"));
}

TEST(VersionCheck, VersionsComparePartByPartAsWholeNumbers)
{
    struct Case {
        const char* local;
        const char* remote;
        bool newer;
    };
    const Case cases[] = {
        {"3.30", "3.31", true},
        {"3.30", "3.30", false},
        {"3.30", "3.4", false},
        {"", "9.99", false},
        {"3.30", "3.030", false},
        {"3.30", "3.30.0.0", false},
        {"3.30", "18446744073709551617.0", true},
        {"18446744073709551617.1", "18446744073709551617.2", true},
        {"18446744073709551617.2", "18446744073709551616.9", false},
        {"3.30", "0.0", false},
        {"0", "3.31", false},
        {"3.30", "4..0", false},
        {"3.30", ".4", false},
        {"3.30", "4.", false},
        {"3.30", "4 .0", false},
        {"3.30", "\u0664.0", false},  // an Arabic-Indic four
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNewerVersion(s(c.local), s(c.remote)), c.newer) << c.local << " < " << c.remote;
    for (int day = 1; day <= 31; ++day)
        EXPECT_EQ(IsUpdateCheckDay(QDate(2026, 12, day)), day == 3 || day == 12 || day == 21 || day == 28);
}

TEST(VersionCheck, ComparisonOfAnyTextsIsAStrictOrder)
{
    std::mt19937 random(20261210);
    const QString alphabet = s("0123456789.... \r\na\u0664\uFEFF");
    auto text = [&] {
        QString made;
        const int length = std::uniform_int_distribution<int>(0, 40)(random);
        for (int i = 0; i < length; ++i)
            made += alphabet.at(std::uniform_int_distribution<int>(0, int(alphabet.size()) - 1)(random));
        return made;
    };
    // Versions of up to twelve parts, some of them long runs of digits.
    auto version = [&] {
        QStringList parts;
        const int count = std::uniform_int_distribution<int>(1, 12)(random);
        for (int i = 0; i < count; ++i) {
            const bool longRun = random() % 8 == 0;
            parts.append(longRun ? QString(int(random() % 30) + 1, QLatin1Char('9')) : QString::number(random() % 4));
        }
        return parts.join(QLatin1Char('.'));
    };
    QStringList texts;
    for (int i = 0; i < 150; ++i) {
        texts.append(text());
        texts.append(version());
    }
    const qsizetype n = texts.size();
    std::vector<std::vector<char>> newer(n, std::vector<char>(n));
    for (qsizetype a = 0; a < n; ++a) {
        for (qsizetype b = 0; b < n; ++b)
            newer[a][b] = IsNewerVersion(texts[a], texts[b]);
    }
    for (qsizetype a = 0; a < n; ++a) {
        EXPECT_FALSE(newer[a][a]) << texts[a].toStdString();
        for (qsizetype b = 0; b < n; ++b) {
            if (!newer[a][b])
                continue;
            EXPECT_FALSE(newer[b][a]) << texts[a].toStdString() << " / " << texts[b].toStdString();
            for (qsizetype c = 0; c < n; ++c)
                EXPECT_TRUE(!newer[b][c] || newer[a][c]) << texts[a].toStdString() << " / " << texts[c].toStdString();
        }
    }
}

class UpdateCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.PrepareUser();
        WriteMainXml(s("Version"), s("3.30"));
        qputenv("TESSARYN_SITE_BASE", (server.Base() + s("/")).toUtf8());
    }
    void TearDown() override { qputenv("TESSARYN_SITE_BASE", "http://127.0.0.1:9/"); }

    static void check()
    {
        CheckForUpdate();
        EXPECT_TRUE(PumpUntil([] { return !UpdateCheckPending(); }));
    }

    TestEnv env;
    HttpServer server;
};

TEST_F(UpdateCheck, NewerRemoteVersionOffersTheHomePageOnItsDaysOnly)
{
    server.Serve(s("/tessaryn/tsversion.txt"), {200, "3.31"});
    Clock::SetFixed(QDateTime(QDate(2026, 12, 4), QTime(10, 0)));
    check();
    EXPECT_TRUE(server.Requests().isEmpty());

    Clock::SetFixed(QDateTime(QDate(2026, 12, 12), QTime(10, 0)));
    MsgBoxScript::Push(vbYes);
    check();
    ASSERT_EQ(MsgBoxScript::Log().size(), 1);
    EXPECT_EQ(MsgBoxScript::Log().first().buttons, 68);
    EXPECT_EQ(Shell::Opened().last(), server.Base() + s("/en"));
}

TEST_F(UpdateCheck, ErrorPagesAndOlderVersionsShowNothing)
{
    Clock::SetFixed(QDateTime(QDate(2026, 12, 3), QTime(10, 0)));
    server.Serve(s("/tessaryn/tsversion.txt"), {404, "404 Not Found"});
    check();
    server.Serve(s("/tessaryn/tsversion.txt"), {200, "3.4"});
    check();
    EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
    EXPECT_EQ(server.Requests().size(), 2);
}

TEST_F(UpdateCheck, RunsOnlyWhileAutomaticChecksAreOn)
{
    server.Serve(s("/tessaryn/tsversion.txt"), {200, "3.31"});
    Clock::SetFixed(QDateTime(QDate(2026, 12, 21), QTime(10, 0)));
    for (const char* value : {"0", "", "abc", "2", " 1 "}) {
        EXPECT_TRUE(WriteOption(s("Update"), s("auto"), s(value)));
        check();
    }
    EXPECT_EQ(server.Requests().size(), 1);
    EXPECT_EQ(MsgBoxScript::Log().size(), 1);
}

TEST_F(UpdateCheck, TheQuestionWaitsWhileAReminderOrADialogIsUp)
{
    server.Serve(s("/tessaryn/tsversion.txt"), {200, "3.31"});
    Clock::SetFixed(QDateTime(QDate(2026, 12, 28), QTime(10, 0)));
    const std::pair<const char*, std::function<std::function<void()>()>> inTheWay[] = {
        {"dialog",
         [] {
             auto* dialog = new QDialog;
             dialog->setModal(true);
             dialog->show();
             return [dialog] { delete dialog; };
         }},
        {"reminder",
         [] {
             Forms::Get<frmWindow>().SetStage(ReminderStage::Showing);
             return [] { Forms::Get<frmWindow>().SetStage(ReminderStage::Idle); };
         }},
    };
    int asked = 0;
    for (const auto& [what, bringUp] : inTheWay) {
        const std::function<void()> close = bringUp();
        CheckForUpdate();
        ASSERT_TRUE(PumpUntil([&] { return server.Requests().size() == asked + 1; })) << what;
        PumpUntil([] { return false; }, 300);
        EXPECT_EQ(MsgBoxScript::Log().size(), asked) << what;
        close();
        EXPECT_TRUE(PumpUntil([] { return !UpdateCheckPending(); })) << what;
        EXPECT_EQ(MsgBoxScript::Log().size(), ++asked) << what;
    }
}

TEST(MainXml, EntriesRoundTripAndOthersStay)
{
    TestEnv env;
    env.PrepareUser();
    WriteFile(MainXmlPath(), "<?xml version=\"1.0\"?><Tessaryn><entry name=\"Other\">x</entry>"
                             "<entry name=\"Version\"></entry></Tessaryn>");
    EXPECT_EQ(ReadMainXml(s("Version")), QString());
    WriteMainXml(s("Version"), s("3.30"));
    WriteMainXml(s("Version"), s("3.30"));
    EXPECT_EQ(ReadMainXml(s("Version")), s("3.30"));
    EXPECT_EQ(ReadMainXml(s("Other")), s("x"));
    EXPECT_EQ(ReadMainXml(s("Missing")), QString());
}

TEST(MainXml, DamagedFileEndsTheProgramWithItsMessage)
{
    TestEnv env;
    env.PrepareUser();
    WriteFile(MainXmlPath(), "<Tessaryn><entry name=\"Version\">3.3");
    EXPECT_EXIT(ReadMainXml(s("Version")), ::testing::ExitedWithCode(1), "MsgBox \\[Tessaryn\\]");
}
