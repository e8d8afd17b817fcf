// The reminder-window options: what they show, what OK stores in [RemWindow] and
// what Cancel leaves alone.
#include "test_reminder_fixture.h"

#include "core/Colors.h"
#include "core/clsINI.h"
#include "events/frmOptions.h"
#include "platform/FileSystem.h"
#include "platform/MsgBox.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>

using namespace reminder_test;

namespace {

class ReminderOptions : public ReminderTest {
protected:
    static frmOptions& options() { return Forms::Get<frmOptions>(); }
    static QString option(const char* key) { return ReadOption(s("RemWindow"), s(key)); }
    QByteArray optionsFile() const { return ReadFile(OptionsFilePath()); }
};

void click(QWidget* widget)
{
    const QPointF centre(widget->width() / 2.0, widget->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, centre, widget->mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, widget->mapToGlobal(centre), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

}  // namespace

TEST_F(ReminderOptions, LoadShowsTheStoredSettingsUnderTheLanguagesCaptions)
{
    EXPECT_TRUE(WriteOption(s("RemWindow"), s("efect1"), s("0")));
    EXPECT_TRUE(WriteOption(s("RemWindow"), s("transp"), s("35")));
    frmOptions& dialog = options();
    EXPECT_EQ(dialog.windowTitle(), GetLangText(s("mes203")));
    EXPECT_EQ(dialog.tbsOptions->tabText(0), GetLangText(s("mes71")));
    EXPECT_EQ(dialog.tbsOptions->tabText(1), GetLangText(s("mes204")));
    EXPECT_EQ(dialog.cmdMusic->text(), GetLangText(s("cmd13")));
    EXPECT_EQ(dialog.cmdMusicRemove->text(), GetLangText(s("cmd6")));
    EXPECT_EQ(dialog.cmdCancel->text(), GetLangText(s("cmd2")));
    EXPECT_EQ(dialog.cmdOK->text(), s("OK"));
    const QStringList presets = {s("50%"), s("60%"), s("70%"), s("80%"), s("90%"), s("100%")};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(dialog.Preset[i]->text(), presets[i]);

    EXPECT_FALSE(dialog.chkBlink->isChecked());
    EXPECT_TRUE(dialog.chkFade->isChecked());
    EXPECT_EQ(dialog.Slider1->value(), 35);
    EXPECT_EQ(dialog.lblMusicTitle->text(), s("bell.wav"));
    EXPECT_EQ(dialog.Colour(0), ColorFromSetting(option("backcolor")).value());
}

TEST_F(ReminderOptions, OkStoresEveryKeyInOneWrite)
{
    frmOptions& dialog = options();
    ColorChooser::PushResult(QColor(Qt::white));
    dialog.cmdColour[0]->click();
    ColorChooser::PushResult(QColor(Qt::red));
    dialog.cmdColour[1]->click();
    ColorChooser::PushResult(std::nullopt);
    const QColor second = dialog.Colour(2);
    dialog.cmdColour[2]->click();
    EXPECT_EQ(dialog.Colour(2), second);

    FileDialog::PushResult(s("/home/u/a b.mp3"));
    dialog.cmdMusic->click();
    ASSERT_EQ(FileDialog::AskedForTests().size(), 1);
    EXPECT_EQ(FileDialog::AskedForTests()[0].title, GetLangText(s("mes216")));
    EXPECT_EQ(FileDialog::AskedForTests()[0].folder, env.Root() + s("/home"));
    EXPECT_TRUE(FileDialog::AskedForTests()[0].filter.contains(s("*.mp3 *.MP3")));
    EXPECT_EQ(dialog.lblMusicTitle->text(), s("a b.mp3"));

    dialog.chkBlink->setChecked(false);
    dialog.tbsOptions->setCurrentIndex(1);
    click(dialog.Preset[2]);
    EXPECT_EQ(dialog.Slider1->value(), 35);

    // A write that fails leaves every key as it was and the dialog open.
    const QByteArray before = optionsFile();
    FileSystem::SetAtomicWriteFailsBeforeRename(true);
    dialog.cmdOK->click();
    FileSystem::SetAtomicWriteFailsBeforeRename(false);
    EXPECT_EQ(optionsFile(), before);
    EXPECT_TRUE(Forms::IsLoaded<frmOptions>());
    EXPECT_EQ(MsgBoxScript::Log().value(0).text, GetLangText(s("mes395")));

    dialog.cmdOK->click();
    EXPECT_FALSE(Forms::IsLoaded<frmOptions>());
    EXPECT_EQ(option("backcolor"), s("16777215"));
    EXPECT_EQ(option("txtcolor"), s("255"));
    EXPECT_EQ(option("txt2color"), ColorSettingText(second));
    EXPECT_EQ(option("musicpath"), s("/home/u/a b.mp3"));
    EXPECT_EQ(option("musictitle"), s("a b.mp3"));
    EXPECT_EQ(option("efect1"), s("0"));
    EXPECT_EQ(option("efect2"), s("1"));
    EXPECT_EQ(option("transp"), s("35"));
}

TEST_F(ReminderOptions, RemoveThenOkStoresNoSound)
{
    options().cmdMusicRemove->click();
    options().cmdOK->click();
    EXPECT_EQ(option("musicpath"), s(""));
    EXPECT_EQ(option("musictitle"), s(""));
}

TEST_F(ReminderOptions, CancelEscapeAndAFailedChoiceChangeNothing)
{
    const QByteArray before = optionsFile();
    FileDialog::PushResult(QString());
    options().cmdMusic->click();
    EXPECT_EQ(options().lblMusicTitle->text(), s("bell.wav"));
    FileDialog::PushResult(s("/home/u/odd;name.wav"));
    options().cmdMusic->click();
    EXPECT_EQ(options().lblMusicTitle->text(), s("bell.wav"));
    ASSERT_EQ(MsgBoxScript::Log().size(), 1);
    EXPECT_EQ(MsgBoxScript::Log()[0].text, GetLangText(s("mes330")));

    options().Slider1->setValue(25);
    options().cmdCancel->click();
    EXPECT_FALSE(Forms::IsLoaded<frmOptions>());
    options().chkFade->setChecked(false);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&options(), &escape);
    EXPECT_FALSE(Forms::IsLoaded<frmOptions>());
    EXPECT_EQ(optionsFile(), before);
}

TEST_F(ReminderOptions, TrayCommandShowsTheDialogModallyOverTheDispatcher)
{
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        frmOptions* dialog = Forms::Find<frmOptions>();
        ASSERT_TRUE(dialog);
        seen = dialog->isVisible() && dialog->IsShownModal() && dialog->parentWidget() == &process();
        dialog->cmdCancel->click();
    });
    ASSERT_TRUE(process().mOptions->isEnabled());
    process().mOptions->trigger();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(Forms::IsLoaded<frmOptions>());
}

TEST_F(ReminderOptions, MissingOrBadSettingEndsTheProgram)
{
    clsINI ini;
    ini.SetFileName(OptionsFilePath());
    ini.RemoveValue(s("RemWindow"), s("musictitle"));
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EXIT(options(), ::testing::ExitedWithCode(1), GetLangText(s("mes294")).toStdString());
    EXPECT_TRUE(WriteOption(s("RemWindow"), s("musictitle"), s("")));
    EXPECT_TRUE(WriteOption(s("RemWindow"), s("transp"), s("half")));
    EXPECT_EXIT(options(), ::testing::ExitedWithCode(1), "MsgBox");
}

TEST(RemWindowSettingsText, FlagsLevelsAndSoundNames)
{
    EXPECT_EQ(ReadFlagSetting(s("1")), true);
    EXPECT_EQ(ReadFlagSetting(s(" 0 ")), false);
    EXPECT_EQ(ReadFlagSetting(s("TRUE")), true);
    EXPECT_EQ(ReadFlagSetting(s("false")), false);
    EXPECT_EQ(ReadFlagSetting(s("-1")), true);
    EXPECT_FALSE(ReadFlagSetting(s("")));
    EXPECT_FALSE(ReadFlagSetting(s("yes")));
    EXPECT_EQ(ReadTransparencySetting(s("30")), 30);
    EXPECT_EQ(ReadTransparencySetting(s("99")), 50);
    EXPECT_EQ(ReadTransparencySetting(s("-4")), 25);
    EXPECT_FALSE(ReadTransparencySetting(s("4.5")));
    EXPECT_EQ(SoundTitle(s("/home/u/a b.mp3")), s("a b.mp3"));
    EXPECT_EQ(SoundTitle(s("/bell.wav")), s("bell.wav"));
    EXPECT_EQ(SoundTitle(s("bell.wav")), s(""));
    EXPECT_EQ(SoundTitle(s("")), s(""));
}
