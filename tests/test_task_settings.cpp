// The task settings: what the dialog shows of [BusSettings] and the status texts,
// what Apply, OK and Cancel store, how the open task list follows at once, and the
// road of the stored settings to the clean-up at the next start.

#include "test_tasks_fixture.h"

#include "core/BusSettings.h"
#include "core/clsINI.h"
#include "platform/FileSystem.h"
#include "platform/TrayIcon.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSlider>
#include <QTabWidget>

namespace {

class TaskSettings : public TaskListTest {
protected:
    static frmBusAdd& dialog() { return Forms::Get<frmBusAdd>(); }

    static void store(const char* delwait, const char* notify, const char* rowheight)
    {
        ASSERT_TRUE(WriteOptions(BusSettingsSection, {{s("delwait"), s(delwait)},
                                                      {s("notify"), s(notify)},
                                                      {s("rowheight"), s(rowheight)}}));
    }

    static std::string optionsFile() { return ReadFile(OptionsFilePath()).toStdString(); }
    static QByteArray ownTextsFile() { return ReadFile(OwnTextsFilePath(s("English"))); }
    static int rowHeight() { return list().DataGrid1->verticalHeader()->defaultSectionSize(); }

    // Opens the dialog from the task list's Settings button and runs body in it.
    void fromSettingsButton(std::function<void(frmBusAdd&)> body)
    {
        whenShown<frmBusAdd>(std::move(body));
        list().ToolbarButton(6)->trigger();
    }
};

TEST_F(TaskSettings, ItShowsTheStoredValuesUnderTheLanguagesCaptions)
{
    const struct {
        const char* delwait;
        const char* notify;
        const char* rowheight;
        int option;  // 1 to 3, 0 none
        bool notice;
        int slider;
    } cases[] = {{"7", "1", "2", 1, true, 2},   {" 30", " 1", "7", 2, true, 3},
                 {"0", "0", "2.5", 3, false, 2}, {"14", "2", "", 0, false, 1}};
    for (const auto& c : cases) {
        store(c.delwait, c.notify, c.rowheight);
        frmBusAdd& d = dialog();
        const QRadioButton* options[] = {d.Option1, d.Option2, d.Option3};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(options[i]->isChecked(), c.option == i + 1) << c.delwait << " " << i;
        EXPECT_EQ(d.Check1->isChecked(), c.notice) << c.notify;
        EXPECT_EQ(d.Slider1->value(), c.slider) << c.rowheight;
        EXPECT_EQ(d.Label4->text(), s(c.rowheight));
        Forms::Unload(&d);
    }
    frmBusAdd& d = dialog();
    EXPECT_EQ(d.windowTitle(), GetLangText(s("mes70")));
    EXPECT_EQ(d.tbsOptions->tabText(1), GetLangText(s("mes72")));
    EXPECT_EQ(d.Label6->text(), GetLangText(s("mes77")) + s(":"));
    EXPECT_EQ(d.cmdOK->text(), s("OK"));
    EXPECT_EQ(d.cmdApply->text(), GetLangText(s("cmd8")));
    EXPECT_EQ(d.Text1->text(), s("Done"));
    EXPECT_EQ(d.Text2->text(), s("Not done"));
    d.Slider1->setValue(3);
    EXPECT_EQ(d.Label4->text(), s("3"));
    // Ctrl+Tab goes on to the next page and from the last back to the first.
    auto* ctrlTab = d.findChild<QShortcut*>();
    ASSERT_NE(ctrlTab, nullptr);
    EXPECT_EQ(ctrlTab->key(), QKeySequence(Qt::CTRL | Qt::Key_Tab));
    for (int page : {1, 0}) {
        emit ctrlTab->activated();
        EXPECT_EQ(d.tbsOptions->currentIndex(), page);
    }
}

TEST_F(TaskSettings, WhatTheCleanUpRefusesEndsTheProgramAtLoad)
{
    for (const char* bad : {"soon", "1.5", ""}) {
        store(bad, "1", "1");
        EXPECT_EXIT(dialog(), ::testing::ExitedWithCode(1), GetLangText(s("mes294")).toStdString()) << bad;
        store("7", bad, "1");
        EXPECT_EXIT(dialog(), ::testing::ExitedWithCode(1), "MsgBox") << bad;
    }
    store("7", " 1", "1");
    clsINI ini;
    ini.SetFileName(OptionsFilePath());
    ini.RemoveValue(BusSettingsSection, s("rowheight"));
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(dialog().Slider1->value(), 1);
}

TEST_F(TaskSettings, ApplyAndOkWriteTheSectionAndTheListFollowsAtOnce)
{
    addTask(QDate(2026, 12, 1), s("a"), true);
    open();
    store("1", "0", "1");  // a change: the file is now as the program writes it
    store("0", "1", "1");
    const QByteArray before = ReadFile(OptionsFilePath());
    const QByteArray section = "delwait=0\r\nnotify=1\r\nrowheight=1\r\n";
    ASSERT_TRUE(before.contains(section));
    EXPECT_EQ(rowHeight(), 16);

    fromSettingsButton([&](frmBusAdd& d) {
        d.Option2->setChecked(true);
        d.Check1->setChecked(false);
        d.Slider1->setValue(3);
        d.cmdApply->click();
        EXPECT_TRUE(d.isVisible());
        QByteArray expected = before;
        expected.replace(section, "delwait=30\r\nnotify=0\r\nrowheight=3\r\n");
        EXPECT_EQ(optionsFile(), expected.toStdString());
        EXPECT_EQ(rowHeight(), 48);

        d.Option1->setChecked(true);
        d.Check1->setChecked(true);
        d.Slider1->setValue(2);
        d.cmdOK->click();
    });
    EXPECT_FALSE(Forms::IsLoaded<frmBusAdd>());
    QByteArray expected = before;
    expected.replace(section, "delwait=7\r\nnotify=1\r\nrowheight=2\r\n");
    EXPECT_EQ(optionsFile(), expected.toStdString());
    EXPECT_EQ(rowHeight(), 32);

    // Cancel and Esc change nothing: files, texts, grid.
    const QByteArray texts = ownTextsFile();
    fromSettingsButton([](frmBusAdd& d) {
        d.Option3->setChecked(true);
        d.Slider1->setValue(1);
        d.Text1->setText(s("Finished"));
        d.cmdApply->setFocus();
        d.cmdCancel->click();
    });
    fromSettingsButton([](frmBusAdd& d) {
        d.Text1->setText(s("Finished"));
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&d, &escape);
    });
    EXPECT_FALSE(Forms::IsLoaded<frmBusAdd>());
    EXPECT_EQ(optionsFile(), expected.toStdString());
    EXPECT_EQ(ownTextsFile(), texts);
    EXPECT_EQ(rowHeight(), 32);
    EXPECT_EQ(cell(0, 2), s("Done"));
}

TEST_F(TaskSettings, StatusTextsRoundTripAndTheGridShowsWhatARereadGives)
{
    addTask(QDate(2026, 12, 1), s("a"), true);
    addTask(QDate(2026, 12, 2), s("b"), false);
    open();
    const struct {
        const char* typed;
        const char* stored;
    } cases[] = {{"", ""},     {"Сделано", "Сделано"}, {"a=b", "a=b"}, {"#1", "#1"},
                 {"\"q\" 'q'", "\"q\" 'q'"}, {"Done ", "Done"}};
    for (const auto& c : cases) {
        frmBusAdd& d = dialog();
        d.Text1->setText(s(c.typed));
        d.Text2->setText(s(c.typed) + s("?"));
        d.SaveSettings(false);
        EXPECT_EQ(GetOwnText(s("txtdone")), s(c.stored)) << c.typed;
        EXPECT_EQ(cell(0, 2), GetOwnText(s("txtdone"))) << c.typed;
        EXPECT_EQ(cell(1, 2), GetOwnText(s("txtwait"))) << c.typed;
        EXPECT_EQ(GetOwnText(s("txtwait")), (s(c.typed) + s("?")).trimmed()) << c.typed;
        Forms::Unload(&d);
    }
}

TEST_F(TaskSettings, ATextTheFileCannotKeepOrAFileThatCannotBeWrittenIsReportedAndNothingIsWritten)
{
    const std::string options = optionsFile();
    const QByteArray texts = ownTextsFile();
    frmBusAdd& d = dialog();
    d.Slider1->setValue(3);
    d.Text2->setText(s("not;yet"));
    d.cmdOK->click();
    ASSERT_TRUE(Forms::IsLoaded<frmBusAdd>());
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes350"))});
    EXPECT_EQ(d.tbsOptions->currentIndex(), 1);
    EXPECT_EQ(d.focusWidget(), d.Text2);
    EXPECT_EQ(optionsFile(), options);
    EXPECT_EQ(ownTextsFile(), texts);

    // The dialog stays open with what was chosen.
    d.Text2->setText(s("not yet"));
    MsgBoxScript::Clear();
    FileSystem::SetAtomicWriteFailsBeforeRename(true);
    d.cmdOK->click();
    FileSystem::SetAtomicWriteFailsBeforeRename(false);
    ASSERT_TRUE(Forms::IsLoaded<frmBusAdd>());
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes395"))});
    EXPECT_EQ(d.Slider1->value(), 3);
    EXPECT_EQ(d.Text2->text(), s("not yet"));
    EXPECT_EQ(optionsFile(), options);
    EXPECT_EQ(ownTextsFile(), texts);
    // Without a task list open nothing loads one.
    d.cmdOK->click();
    EXPECT_FALSE(Forms::IsLoaded<frmBus>());
}

TEST_F(TaskSettings, TheCleanUpAtTheNextStartDoesWhatOkStored)
{
    addTask(QDate(2026, 12, 2), s("eight days"), true);
    addTask(QDate(2026, 12, 3), s("seven days"), false);
    addTask(QDate(2027, 1, 1), s("ahead"), false);
    frmBusAdd& d = dialog();
    d.Option3->setChecked(true);
    d.Check1->setChecked(false);
    d.cmdOK->click();
    process().BusRefresh();
    EXPECT_EQ(storedTasks().size(), 3);
    EXPECT_TRUE(TrayIcon::HeldBalloons().isEmpty());

    dialog().Option1->setChecked(true);
    dialog().Check1->setChecked(true);
    dialog().cmdOK->click();
    process().BusRefresh();
    QStringList left;
    for (const Task& task : storedTasks())
        left.append(task.text.toString());
    EXPECT_EQ(left, (QStringList{s("seven days"), s("ahead")}));
    ASSERT_EQ(TrayIcon::HeldBalloons().size(), 1);
    EXPECT_EQ(TrayIcon::HeldBalloons().first().text, GetLangText(s("mes237")));
}

}  // namespace
