// The About box: which languages it offers, the switch of the running program to
// another interface language and back, what it never stores, the fallback where
// Cyrillic cannot be shown, a language file with few texts, and a reminder that
// falls due while the box or the support window is up.

#include "test_event_fixture.h"
#include "test_screens.h"

#include "core/SystemCharset.h"
#include "events/frmWindow.h"
#include "platform/ColorChooser.h"
#include "platform/FileDialog.h"
#include "platform/FileSystem.h"
#include "platform/FontChooser.h"
#include "platform/KnownFolders.h"
#include "platform/MsgBox.h"
#include "platform/QtTranslation.h"
#include "platform/Shell.h"
#include "platform/TrayIcon.h"
#include "tools/frmAbout.h"
#include "tools/frmSupport.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

#include <sys/stat.h>

namespace {

// A language file with a few texts, no [Site] and no own texts of its own.
const QByteArray Deutsch = "[Translation]\r\nmes1=Erinnerung\r\nmes21=Über Tessaryn\r\nmes232=Ereignisliste\r\nmonth1=Januar\r\n"
                           "wdays1=Mo\r\nmes30=Version\r\n";

class AboutTest : public EventWindowTest {
protected:
    void SetUp() override
    {
        EventWindowTest::SetUp();
        SetSystemCodeset("UTF-8");
    }
    void TearDown() override
    {
        EventWindowTest::TearDown();
        SetSystemCodeset(QByteArray());
    }

    // A program folder of the test's own: the shipped language files and these files.
    QString programFolder(const QList<std::pair<const char*, QByteArray>>& files)
    {
        const QString folder = env.Root() + s("/program");
        for (const char* shipped : {"English.ini", "Russian.ini"})
            WriteFile(folder + s("/Language/") + s(shipped), ReadFile(TestEnv::BuildShare() + s("/Language/") + s(shipped)));
        for (const auto& [name, data] : files)
            WriteFile(folder + s("/Language/") + s(name), data);
        KnownFolders::SetProgramFolder(folder);
        process().AppPath = folder;
        return folder + s("/Language/");
    }

    // Opens the box from the main window's toolbar and runs body on it once it is up.
    static void withAbout(std::function<void(frmAbout&)> body)
    {
        main().ShowModeless();
        whenShown<frmAbout>(std::move(body));
        main().ToolbarButton(17)->trigger();
    }

    static void choose(const QString& language)
    {
        withAbout([language](frmAbout& box) {
            box.cboLanguage->setCurrentIndex(box.cboLanguage->findText(language));
            box.cmdOK->click();
        });
    }

    static QStringList headers()
    {
        QStringList texts;
        for (int column = 0; column < process().ListView1.columnCount(); ++column)
            texts.append(process().ListView1.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
        return texts;
    }

    static void deleteDeferred() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST_F(AboutTest, TheListHoldsEachLanguageFileOnceAndSelectsTheCurrentOne)
{
    // Only files that read as language files: UTF-8 (a byte-order mark and CR LF are
    // fine) with "mes1" in [Translation]; not one in another code set, empty, random
    // bytes, or without the texts.
    QByteArray random(512, '\0');
    for (int i = 0; i < random.size(); ++i)
        random[i] = char((i * 7919 + 13) % 256);
    const QString language = programFolder(
        {{"Deutsch.ini", Deutsch}, {"Deutsch2.ini", Deutsch}, {"Pt-BR.ini", Deutsch}, {"Français.ini", Deutsch},
         {".Hidden.ini", Deutsch}, {"Russian.lng", Deutsch}, {"Klingon.lng", Deutsch}, {".ini", Deutsch},
         {"Marked.ini", "\xEF\xBB\xBF" + Deutsch}, {"Unix.ini", "[Translation]\nmes1=Unix\n"},
         {"Ansi.ini", "[Translation]\r\nmes1=\xCD\xE0\xEF\xEE\xEC\xE8\xED\xE0\xED\xE8\xE5\r\n"}, {"Empty.ini", ""},
         {"Noise.ini", random}, {"Other.ini", "[Main]\r\nmes1=Other\r\n"}, {"Untitled.ini", "[Translation]\r\nmes2=x\r\n"}});
    QDir().mkpath(language + s("Folder.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(language + s("Fifo.ini")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(language + s("Deutsch.ini"), language + s("Linked.ini")));
    ASSERT_TRUE(QFile::link(language + s("Missing.ini"), language + s("Broken.ini")));

    frmAbout& box = Forms::Get<frmAbout>();
    QStringList listed;
    for (int i = 0; i < box.cboLanguage->count(); ++i)
        listed.append(box.cboLanguage->itemText(i));
    EXPECT_EQ(listed, QStringList({s("Deutsch"), s("English"), s("Linked"), s("Marked"), s("Russian"), s("Unix")}));
    EXPECT_EQ(box.cboLanguage->currentText(), s("English"));
}

TEST_F(AboutTest, SwitchingRelabelsTheProgramAndLoadsTheMainWindowAgainInItsPlace)
{
    struct Step {
        const char* language;
        const char* caption;
        const char* category;
    };
    // A language whose own texts the user lost gets the installed ones again.
    ASSERT_TRUE(QFile::remove(OwnTextsFilePath(s("Russian"))));
    for (const Step& step : {Step{"Russian", "Список событий", "Дни рождения"}, Step{"English", "Event list", "Birthdays"}}) {
        main().ShowModeless();
        main().Move(1500, 1200);
        const QPointer<frmMain> before(&main());
        choose(s(step.language));
        deleteDeferred();

        EXPECT_TRUE(ReadFile(LangIniPath()).contains(QByteArray("Language=") + step.language));
        EXPECT_EQ(process().LanguageName, s(step.language));
        EXPECT_EQ(process().windowTitle(), s(step.caption));
        EXPECT_EQ(headers(), QStringList({GetLangText(s("mes219")), GetLangText(s("mes220")), GetLangText(s("mes61")),
                                          GetLangText(s("mes180")), s("ID"), GetLangText(s("mes181")),
                                          GetLangText(s("mes289"))}));
        EXPECT_EQ(process().mOpen->text(), s("Tessaryn"));
        const std::pair<QAction*, const char*> tray[] = {{process().mOptions, "mes286"}, {process().mUpGrate, "mes254"},
                                                         {process().mHomePage, "mes287"}, {process().mHelp, "mes288"},
                                                         {process().mExit, "cmd1"}};
        for (const auto& [entry, key] : tray)
            EXPECT_EQ(entry->text(), GetLangText(s(key))) << key;

        ASSERT_TRUE(before.isNull());
        frmMain* after = Forms::Find<frmMain>();
        ASSERT_TRUE(after);
        EXPECT_TRUE(after->isVisible());
        EXPECT_EQ(QPoint(after->Left(), after->Top()), QPoint(1500, 1200));
        EXPECT_EQ(after->ToolbarButton(17)->text(), GetLangText(s("mnu8")));
        EXPECT_EQ(after->ComboMonth->itemText(11), GetLangText(s("month12")));
        EXPECT_EQ(after->WeekdayCaptions[0]->text(), GetLangText(s("wdays1")));
        EXPECT_EQ(after->Label16->text(), GetLangText(s("mes241")));
        EXPECT_EQ(after->Label18->text(), GetLangText(s("mes314")));
        EXPECT_TRUE(categoryTexts().contains(s(step.category)));
    }
    EXPECT_EQ(ReadFile(OwnTextsFilePath(s("Russian"))), ReadFile(env.InstallTree() + s("/System/Own/Russian.ini")));
}

TEST_F(AboutTest, NothingIsStoredOrRelabelledUnlessOkStoresAListedLanguage)
{
    const QString language = programFolder({{"Deutsch.ini", Deutsch}});
    struct Way {
        const char* name;
        std::function<void(frmAbout&)> close;
    };
    const Way ways[] = {
        {"Esc", [](frmAbout& box) {
             QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QCoreApplication::sendEvent(&box, &escape);
         }},
        {"close box", [](frmAbout& box) { box.close(); }},
        {"file gone", [&language](frmAbout& box) {
             QFile::remove(language + s("Deutsch.ini"));
             box.cmdOK->click();
         }},
        // Said so, with the box left open on the choice.
        {"write fails", [](frmAbout& box) {
             MsgBoxScript::Clear();
             FileSystem::SetAtomicWriteFailsBeforeRename(true);
             box.cmdOK->click();
             FileSystem::SetAtomicWriteFailsBeforeRename(false);
             EXPECT_EQ(messages(), QStringList{GetLangText(s("mes395"))});
             EXPECT_TRUE(box.isVisible());
             EXPECT_EQ(box.cboLanguage->currentText(), s("Deutsch"));
             box.close();
         }},
    };
    for (const Way& way : ways) {
        WriteFile(language + s("Deutsch.ini"), Deutsch);
        const QByteArray stored = ReadFile(LangIniPath());
        process().setWindowTitle(s("unchanged"));
        const QPointer<frmMain> before(&main());
        withAbout([&way](frmAbout& box) {
            box.cboLanguage->setCurrentIndex(box.cboLanguage->findText(s("Deutsch")));
            way.close(box);
        });
        deleteDeferred();
        EXPECT_FALSE(Forms::IsLoaded<frmAbout>()) << way.name;
        EXPECT_EQ(ReadFile(LangIniPath()), stored) << way.name;
        EXPECT_EQ(process().LanguageName, s("English")) << way.name;
        EXPECT_EQ(process().windowTitle(), s("unchanged")) << way.name;
        EXPECT_EQ(Forms::Find<frmMain>(), before.data()) << way.name;
        EXPECT_FALSE(QFile::exists(OwnTextsFilePath(s("Deutsch")))) << way.name;
    }

    // OK with the list untouched stores the language again and keeps every window.
    const QPointer<frmMain> before(&main());
    withAbout([](frmAbout& box) { box.cmdOK->click(); });
    deleteDeferred();
    EXPECT_TRUE(ReadFile(LangIniPath()).contains("Language=English"));
    EXPECT_EQ(process().windowTitle(), s("unchanged"));
    EXPECT_EQ(Forms::Find<frmMain>(), before.data());
}

TEST_F(AboutTest, RussianWhereCyrillicCannotShowWarnsAndStaysEnglish)
{
    SetSystemCodeset("ANSI_X3.4-1968");
    choose(s("Russian"));
    deleteDeferred();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().first().startsWith(s("Language of the program will be set to English.")));
    // Advice that works here: a UTF-8 locale in the desktop's settings.
    EXPECT_TRUE(messages().first().contains(s("choose a UTF-8 locale"))) << messages().first().toStdString();
    EXPECT_FALSE(messages().first().contains(s("Control Panel")));
    EXPECT_TRUE(ReadFile(LangIniPath()).contains("Language=English"));
    EXPECT_EQ(process().LanguageName, s("English"));
    EXPECT_EQ(process().windowTitle(), s("Event list"));
    ASSERT_TRUE(Forms::Find<frmMain>());
    EXPECT_TRUE(Forms::Find<frmMain>()->isVisible());
    EXPECT_FALSE(Forms::IsLoaded<frmAbout>());
}

TEST_F(AboutTest, ALanguageWithFewTextsShowsNoKeysAndCanBeLeftAgain)
{
    programFolder({{"Deutsch.ini", Deutsch}});
    choose(s("Deutsch"));
    deleteDeferred();
    EXPECT_EQ(ReadFile(OwnTextsFilePath(s("Deutsch"))), ReadFile(OwnTextsFilePath(s("English"))));
    EXPECT_TRUE(categoryTexts().contains(s("Birthdays")));
    EXPECT_EQ(process().windowTitle(), s("Ereignisliste"));
    EXPECT_EQ(process().mOptions->text(), QString());

    // Missing texts are empty: never a NUL, never the key.
    const QRegularExpression key(s("^(mes|cmd|mnu|month|wdays|opt|rpt)\\d+$"));
    QStringList shown{process().mExit->text()};
    for (QLabel* label : main().findChildren<QLabel*>())
        shown.append(label->text());
    for (QAction* action : main().findChildren<QAction*>())
        shown.append(action->text());
    for (int i = 0; i < main().ComboMonth->count(); ++i)
        shown.append(main().ComboMonth->itemText(i));
    for (const QString& text : shown) {
        EXPECT_FALSE(text.contains(QChar(0)));
        EXPECT_FALSE(key.match(text).hasMatch()) << text.toStdString();
    }
    EXPECT_EQ(main().ComboMonth->itemText(0), s("Januar"));
    EXPECT_EQ(main().ComboMonth->itemText(1), QString());

    // A restart in the language runs.
    EventWindowTest::TearDown();
    process().Timer1->stop();
    EXPECT_EQ(process().LanguageName, s("Deutsch"));
    EXPECT_EQ(process().windowTitle(), s("Ereignisliste"));
    ASSERT_TRUE(Forms::IsLoaded<frmMain>());
    EXPECT_EQ(main().ComboMonth->itemText(0), s("Januar"));

    // The About box is found by its picture, and English comes back.
    main().ShowModeless();
    QAction* about = main().ToolbarButton(17);
    EXPECT_EQ(about->text(), QString());
    EXPECT_FALSE(about->icon().isNull());
    withAbout([](frmAbout& box) {
        EXPECT_EQ(box.windowTitle(), s("Über Tessaryn"));
        box.cmdHomePage->click();
        box.cboLanguage->setCurrentIndex(box.cboLanguage->findText(s("English")));
        box.cmdOK->click();
    });
    deleteDeferred();
    EXPECT_EQ(Shell::Opened().last(), s("http://127.0.0.1:9/"));
    EXPECT_EQ(process().LanguageName, s("English"));
    EXPECT_EQ(process().windowTitle(), s("Event list"));
    EXPECT_EQ(main().ComboMonth->itemText(0), s("January"));
}

// Qt's own buttons speak the interface language, in message boxes and in the file,
// font and colour dialogs; they are found by their role, and English comes back.
TEST_F(AboutTest, QtsOwnButtonsSpeakTheInterfaceLanguage)
{
    const struct {
        const char* name;
        std::function<void()> open;
    } dialogs[] = {
        {"msgbox", [] { MsgBox(s("?"), 4 + 32, s("Tessaryn")); }},
        {"filedialog", [this] { FileDialog::Ask(&main(), FileDialog::Mode::Open, s("?"), env.Root(), {}, s("*")); }},
        {"fontdialog", [] { FontChooser::Ask(&main(), main().font(), 72); }},
        {"colordialog", [] { ColorChooser::Ask(&main(), QColor(Qt::red)); }},
    };
    const struct {
        const char* language;
        QMap<QDialogButtonBox::StandardButton, QString> texts;
    } steps[] = {
        {"Russian", {{QDialogButtonBox::Yes, s("&Да")}, {QDialogButtonBox::No, s("&Нет")},
                     {QDialogButtonBox::Cancel, s("Отмена")}, {QDialogButtonBox::Open, s("&Открыть")}}},
        {"English", {{QDialogButtonBox::Yes, s("&Yes")}, {QDialogButtonBox::No, s("&No")},
                     {QDialogButtonBox::Cancel, s("Cancel")}, {QDialogButtonBox::Open, s("&Open")}}},
    };
    for (const auto& step : steps) {
        choose(s(step.language));
        deleteDeferred();
        MsgBoxScript::SetAutomatic(false);
        for (const auto& dialog : dialogs) {
            int seen = 0;
            QTimer::singleShot(100, qApp, [&] {
                QWidget* shown = QApplication::activeModalWidget();
                ASSERT_TRUE(shown) << dialog.name;
                auto* buttons = shown->findChild<QDialogButtonBox*>();
                ASSERT_TRUE(buttons) << dialog.name;
                for (QAbstractButton* button : buttons->buttons()) {
                    const auto role = buttons->standardButton(button);
                    if (step.texts.contains(role)) {
                        ++seen;
                        EXPECT_EQ(button->text(), step.texts.value(role)) << step.language << " " << dialog.name;
                    }
                }
                if (QLatin1String(step.language) == QLatin1String("Russian"))
                    SaveScreen(*shown, s(dialog.name) + s("-qt-Russian"));
                shown->close();
            });
            dialog.open();
            EXPECT_GE(seen, 1) << step.language << " " << dialog.name;
        }
        MsgBoxScript::SetAutomatic(true);
    }

    // A start in Russian takes Qt's Russian texts as well.
    choose(s("Russian"));
    QtTranslation::Use(QString());
    EventWindowTest::TearDown();
    process().Timer1->stop();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), s("Отмена"));
    QtTranslation::Use(QString());
}

class HeldReminder : public AboutTest, public ::testing::WithParamInterface<int> {};

TEST_P(HeldReminder, ADueReminderWaitsForTheWindowWithOneBalloon)
{
    addEvent(s("Birthdays"), s("Call Anna"), Now().date(), s("14:30"));
    process().DateRefresh();
    main().ShowModeless();
    bool ran = false;
    QTimer::singleShot(50, qApp, [&ran] {
        ran = true;
        Form* window = qobject_cast<Form*>(QApplication::activeModalWidget());
        ASSERT_TRUE(window);
        process().Timer1_Timer();
        process().Timer1_Timer();
        EXPECT_FALSE(Forms::IsLoaded<frmWindow>());
        EXPECT_EQ(TrayIcon::HeldBalloons().size() + TrayIcon::ShownBalloons().size(), 1);
        Forms::Unload(window);
    });
    main().ToolbarButton(GetParam())->trigger();
    ASSERT_TRUE(ran);
    process().Timer1_Timer();
    ASSERT_TRUE(Forms::IsLoaded<frmWindow>());
    EXPECT_TRUE(Forms::Find<frmWindow>()->isVisible());
    EXPECT_EQ(TrayIcon::HeldBalloons().size() + TrayIcon::ShownBalloons().size(), 1);
}

INSTANTIATE_TEST_SUITE_P(AboutAndSupport, HeldReminder, ::testing::Values(17, 15));

}  // namespace
