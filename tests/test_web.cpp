#include "core/NewVersion.h"
#include "core/XMLParser.h"
#include "platform/Clock.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"
#include "platform/Web.h"
#include "support/HttpServer.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

}  // namespace

TEST(Download, OnlyA2xxAnswerCountsAndLimitsHold)
{
    TestEnv env;
    HttpServer server;
    server.Serve(s("/ok.txt"), {200, "3.31\r\n"});
    server.Serve(s("/missing.txt"), {404, "404 Not Found"});
    server.Serve(s("/slow.txt"), {200, "late", 1500});
    server.Serve(s("/big.txt"), {200, QByteArray(2000, 'x')});

    EXPECT_EQ(Web::DownloadText(server.Base() + s("/ok.txt")), s("3.31\r\n"));
    EXPECT_EQ(Web::DownloadText(server.Base() + s("/missing.txt")), QString());
    Web::SetTimeLimits(300, 500);
    EXPECT_EQ(Web::DownloadText(server.Base() + s("/slow.txt")), QString());
    Web::SetTimeLimits(0, 0);
    bool ok = true;
    EXPECT_TRUE(Web::DownloadBytes(server.Base() + s("/big.txt"), &ok, 1000).isEmpty());
    EXPECT_FALSE(ok);
    EXPECT_EQ(Web::DownloadText(s("http://127.0.0.1:9/refused")), QString());
    EXPECT_EQ(Web::DownloadText(s("file:///etc/passwd")), QString());
}

TEST(Download, QueryTextsArePercentEncodedAsUtf8)
{
    EXPECT_EQ(Web::EncodeQuery(s("New York")), s("New+York"));
    EXPECT_EQ(Web::EncodeQuery(s("a+b&c#d")), s("a%2Bb%26c%23d"));
    EXPECT_EQ(Web::EncodeQuery(s("Москва")), s("%D0%9C%D0%BE%D1%81%D0%BA%D0%B2%D0%B0"));
    EXPECT_EQ(Web::EncodePathSegment(s("12/3 4")), s("12%2F3%204"));
}

TEST(VersionCheck, NumbersComeFromTheDigitsWithoutDots)
{
    EXPECT_EQ(VersionNumber(s("3.30")), 330);
    EXPECT_EQ(VersionNumber(s("3.31\r\n")), 331);
    EXPECT_EQ(VersionNumber(s("3.4")), 34);
    EXPECT_EQ(VersionNumber(s("")), 0);
    EXPECT_EQ(VersionNumber(s("<html>")), 0);
    EXPECT_TRUE(IsNewerVersion(s("3.30"), s("3.31")));
    EXPECT_FALSE(IsNewerVersion(s("3.30"), s("3.30")));
    EXPECT_FALSE(IsNewerVersion(s("3.30"), s("3.4")));
    EXPECT_FALSE(IsNewerVersion(s(""), s("9.99")));
    for (int day = 1; day <= 31; ++day)
        EXPECT_EQ(IsUpdateCheckDay(QDate(2026, 12, day)), day == 3 || day == 12 || day == 21 || day == 28);
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
    TestEnv env;
    HttpServer server;
};

TEST_F(UpdateCheck, NewerRemoteVersionOffersTheHomePageOnItsDaysOnly)
{
    server.Serve(s("/tessaryn/tsversion.txt"), {200, "3.31"});
    Clock::SetFixed(QDateTime(QDate(2026, 12, 4), QTime(10, 0)));
    CheckForUpdate();
    EXPECT_TRUE(server.Requests().isEmpty());

    Clock::SetFixed(QDateTime(QDate(2026, 12, 12), QTime(10, 0)));
    MsgBoxScript::Push(vbYes);
    CheckForUpdate();
    ASSERT_EQ(MsgBoxScript::Log().size(), 1);
    EXPECT_EQ(MsgBoxScript::Log().first().buttons, 68);
    EXPECT_EQ(Shell::Opened().last(), server.Base() + s("/en"));
}

TEST_F(UpdateCheck, ErrorPagesAndOlderVersionsShowNothing)
{
    Clock::SetFixed(QDateTime(QDate(2026, 12, 3), QTime(10, 0)));
    server.Serve(s("/tessaryn/tsversion.txt"), {404, "404 Not Found"});
    CheckForUpdate();
    server.Serve(s("/tessaryn/tsversion.txt"), {200, "3.4"});
    CheckForUpdate();
    EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
    EXPECT_EQ(server.Requests().size(), 2);
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
