// What the reminder window shows and does while it is up: captions, colours, the
// blinking and sliding title, the fade-in, the copy command; and the window effects
// and the sound under it.
#include "test_reminder_fixture.h"

#include "core/Colors.h"
#include "platform/Controls.h"

#include <QClipboard>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <dlfcn.h>

using namespace reminder_test;

namespace {

class ReminderWindow : public ReminderTest {
protected:
    frmWindow& show(const QString& title, const QVariant& notes = QVariant())
    {
        Clock::SetFixed(at(2026, 3, 10, 10, 0));
        save({.title = title, .date = QDate(2026, 3, 10), .time = s("10:00"), .notes = notes});
        tick();
        EXPECT_TRUE(reminder());
        return *reminder();
    }
};

}  // namespace

TEST_F(ReminderWindow, CaptionsAndColoursComeFromTheLanguageAndTheSettings)
{
    EXPECT_TRUE(WriteOption(s("RemWindow"), s("backcolor"), s("16777215")));
    EXPECT_TRUE(WriteOption(s("RemWindow"), s("txtcolor"), s("255")));
    EXPECT_TRUE(WriteOption(s("RemWindow"), s("txt2color"), s("16711680")));
    frmWindow& window = show(s("Call"), s("Note"));
    EXPECT_EQ(window.windowTitle(), s("Tessaryn - [") + GetLangText(s("mes1")) + s("]"));
    EXPECT_EQ(window.Label6->text(), GetLangText(s("mes181")) + s(":"));
    const QString minutes = GetLangText(s("mes273"));
    const QStringList captions = {s("5 ") + minutes, s("10 ") + minutes, s("30 ") + minutes,
                                  s("1 ") + GetLangText(s("mes274")), s("3 ") + GetLangText(s("mes275")),
                                  GetLangText(s("mes276"))};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(window.Command1[i]->text(), captions[i]);
    EXPECT_EQ(window.mCopy->text(), s("Копировать текст"));

    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(window.Frame1->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(window.Label5->palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(window.Label1->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(window.Label5->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_EQ(window.Label7->palette().color(QPalette::WindowText), QColor(Qt::blue));
}

TEST_F(ReminderWindow, RussianCaptionsKeepTheFixedCopyCommand)
{
    env.PrepareUser(s("Russian"));
    frmWindow& window = show(s("Звонок"));
    EXPECT_EQ(window.Command1[5]->text(), s("1 день"));
    EXPECT_EQ(window.mCopy->text(), s("Копировать текст"));
}

TEST_F(ReminderWindow, EmptyCommentHidesTheBoxAndACommentCanBeCopied)
{
    for (const QVariant& blank : {QVariant(), QVariant(s(" \r\n\t "))}) {
        EXPECT_FALSE(show(s("No comment"), blank).Label5->isVisible());
        closeReminder();
    }
    frmWindow& window = show(s("Commented"), s("line one\nline two"));
    EXPECT_TRUE(window.Label5->isVisible());
    QGuiApplication::clipboard()->setText(s("old"));
    window.mCopy_Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), s("line one\nline two"));
}

TEST_F(ReminderWindow, TitleOfEighteenCharactersBlinksAndOneOfNineteenSlides)
{
    frmWindow& still = show(s("123456789012345678"));
    EXPECT_FALSE(still.Timer2->isActive());
    const bool hidden = still.Label1->isHidden();
    still.Timer1_Timer();
    EXPECT_NE(still.Label1->isHidden(), hidden);
    closeReminder();

    frmWindow& sliding = show(s("1234567890123456789"));
    ASSERT_TRUE(sliding.Timer2->isActive());
    QLabel* title = sliding.Label1;
    EXPECT_EQ(title->x(), sliding.Frame1->width() + Px(120));
    EXPECT_GT(title->width(), sliding.Frame1->width() / 2);
    const bool shown = !title->isHidden();
    sliding.Timer1_Timer();
    EXPECT_EQ(!title->isHidden(), shown);

    const int start = title->x();
    sliding.Timer2_Timer();
    EXPECT_EQ(title->x(), start - Px(30));
    // Slides out on the left, then comes in again at the frame's right edge.
    int ticks = 0;
    while (title->x() + title->width() >= 0 && ticks++ < 2000)
        sliding.Timer2_Timer();
    sliding.Timer2_Timer();
    EXPECT_EQ(title->x(), sliding.Frame1->width() - Px(30));
}

TEST_F(ReminderWindow, FadeInRunsInStepsUpToTwiceTheLevel)
{
    EXPECT_TRUE(WriteOption(s("RemWindow"), s("transp"), s("40")));
    frmWindow& window = show(s("Fade"));
    EXPECT_EQ(window.FadeTarget(), 8000);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 0.0);
    // The first tick starts the fade; it runs on without holding up the event loop.
    window.Timer1_Timer();
    EXPECT_LT(window.Slider1->value(), 8000);
    QElapsedTimer waited;
    waited.start();
    while (window.Slider1->value() < 8000 && waited.elapsed() < 5000)
        pump(20);
    EXPECT_EQ(window.Slider1->value(), 8000);
    EXPECT_NEAR(window.windowOpacity(), FormTransparent::Alpha(80) / 255.0, 0.01);
}

TEST_F(ReminderWindow, WithoutFadeTheFirstTickShowsTheFinalOpacityAtOnce)
{
    EXPECT_TRUE(WriteOption(s("RemWindow"), s("efect2"), s("0")));
    EXPECT_TRUE(WriteOption(s("RemWindow"), s("transp"), s("25")));
    frmWindow& window = show(s("No fade"));
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 0.0);
    window.Timer1_Timer();
    EXPECT_NEAR(window.windowOpacity(), FormTransparent::Alpha(50) / 255.0, 0.01);
}

TEST_F(ReminderWindow, LevelsOutsideTheRangeAreHeldToIt)
{
    EXPECT_TRUE(WriteOption(s("RemWindow"), s("transp"), s("80")));
    EXPECT_EQ(show(s("High")).FadeTarget(), 10000);
    closeReminder();
    EXPECT_TRUE(WriteOption(s("RemWindow"), s("transp"), s("3")));
    EXPECT_EQ(show(s("Low")).FadeTarget(), 5000);
}

TEST_F(ReminderWindow, WithoutOpacityThePlatformShowsTheWindowOpaque)
{
    FormTransparent::SetOpacitySupportedForTests(false);
    frmWindow& window = show(s("Opaque"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
}

TEST(WindowEffects, AlphaRoundsHalvesToEven)
{
    const std::pair<int, int> cases[] = {{0, 0},    {10, 26},   {25, 64},   {30, 76},  {50, 128},
                                         {70, 178}, {75, 191}, {90, 230}, {100, 255}, {130, 255}};
    for (const auto& [percent, alpha] : cases)
        EXPECT_EQ(FormTransparent::Alpha(percent), alpha) << percent;
}

TEST(WindowEffects, TopMostIsSetBeforeTheFirstShowAndKeepsAShownWindowUp)
{
    QWidget fresh;
    OnTopModul::MakeTopMost(&fresh);
    EXPECT_TRUE(fresh.isVisible());
    EXPECT_TRUE(fresh.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    QWidget shown;
    shown.setGeometry(100, 80, 200, 120);
    shown.show();
    OnTopModul::MakeTopMost(&shown);
    EXPECT_TRUE(shown.isVisible());
    EXPECT_TRUE(shown.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(shown.geometry().size(), QSize(200, 120));
}

TEST(BgrColours, RedIsTheLowByteAndStoredTextsAreChecked)
{
    EXPECT_EQ(BgrFromColor(Qt::white), 16777215u);
    EXPECT_EQ(BgrFromColor(Qt::red), 255u);
    EXPECT_EQ(BgrFromColor(QColor(0x12, 0x34, 0x56)), 0x563412u);
    EXPECT_EQ(ColorFromBgr(0x563412), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(ColorFromSetting(s(" 255 ")), QColor(Qt::red));
    EXPECT_EQ(ColorFromSetting(s("0")), QColor(Qt::black));
    for (const char* bad : {"", "-1", "+5", "16777216", "red", "12.5"})
        EXPECT_FALSE(ColorFromSetting(s(bad))) << bad;
    EXPECT_FALSE(ColorFromSetting(QString(QChar(0))));
}

TEST(ReminderSound, NothingPlayableReturnsAtOnceAndStopStopsWhateverPlays)
{
    TestEnv env;
    const QString folder = env.Root() + s("/sounds");
    QDir().mkpath(folder);
    for (const QString& path : {QString(), env.Root() + s("/missing.wav"), folder}) {
        playSound::PlaySoundFile(path);
        EXPECT_TRUE(playSound::LastStarted().isEmpty()) << path.toStdString();
        EXPECT_FALSE(playSound::IsOn());
    }

    // Neither an undecodable file nor a machine without sound holds anything up.
    const QString noise = env.Root() + s("/noise.mp3");
    WriteFile(noise, QByteArray(4096, 'x'));
    playSound::PlaySoundFile(noise);
    EXPECT_EQ(playSound::LastStarted(), noise);
    // The player is in the sound module beside the program, made on this thread when
    // the media back end is; a sound asked for before that starts once it is made.
    const auto player = []() -> QObject* {
        for (QObject* child : qApp->children()) {
            if (qstrcmp(child->metaObject()->className(), "QMediaPlayer") == 0)
                return child;
        }
        return nullptr;
    };
    const auto source = [&] { return player()->property("source").toUrl(); };
    pump(300);
    EXPECT_EQ(player(), nullptr);
    playSound::Prepare();
    for (int waited = 0; !player() && waited < 30000; waited += 50)
        pump(50);
    ASSERT_NE(player(), nullptr);
    EXPECT_NE(dlopen("libQt6Multimedia.so.6", RTLD_NOLOAD | RTLD_LAZY), nullptr);
    EXPECT_EQ(player()->thread(), qApp->thread());
    pump(50);
    EXPECT_EQ(source(), QUrl::fromLocalFile(noise));
    QFile::remove(noise);
    playSound::StopSound();
    EXPECT_TRUE(source().isEmpty());

    // A stop before the player got going keeps it from starting.
    const QString bell = env.Root() + s("/bell.wav");
    WriteFile(bell, silentWav());
    playSound::PlaySoundFile(bell);
    playSound::StopSound();
    pump(100);
    EXPECT_TRUE(source().isEmpty());
}
