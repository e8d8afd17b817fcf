// The event editor: its controls, and its saves of new events (OK and Add) with
// their rows, ids and registry entries, the past-date rule and a save that fails.

#include "test_event_fixture.h"

#include "core/Formats.h"
#include "platform/DateField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimeEdit>

namespace {

class Editor : public EventWindowTest {
protected:
    void SetUp() override
    {
        EventWindowTest::SetUp();
        main();
        addCategory(s("Work"));
    }

    static frmMesAdd& editor() { return Forms::Get<frmMesAdd>(); }

    // A new event of category Work on the given day, at a time when one is given.
    static frmMesAdd& prepare(const QString& title, const QDate& date, const QTime& time = QTime())
    {
        frmMesAdd& window = editor();
        window.SetCategory(s("Work"), s("Work"));
        window.Text1->setText(title);
        window.DTPicker1->setDate(date);
        window.Check1->setChecked(time.isValid());
        if (time.isValid())
            window.DTPicker2->setTime(time);
        return window;
    }
};

TEST_F(Editor, ControlsFollowTheirRules)
{
    frmMesAdd& window = editor();
    EXPECT_EQ(window.Text1->text(), GetLangText(s("mes178")));
    EXPECT_TRUE(window.Option1->isChecked());
    EXPECT_FALSE(window.Combo1->isEnabled());
    EXPECT_FALSE(window.Check2->isEnabled());
    EXPECT_FALSE(window.Combo2->isEnabled());
    EXPECT_FALSE(window.Label6->isHidden());
    EXPECT_FALSE(window.DTPicker2->isEnabled());
    EXPECT_TRUE(window.Command3->isHidden());

    window.Text1->setText(s("  "));
    EXPECT_TRUE(window.Command0->isEnabled());
    EXPECT_EQ(window.windowTitle(), GetLangText(s("mes174")) + s(" - \"  \""));
    window.Text1->clear();
    EXPECT_FALSE(window.Command0->isEnabled());
    EXPECT_FALSE(window.Command2->isEnabled());

    window.Check1->setChecked(true);
    EXPECT_TRUE(window.DTPicker2->isEnabled());
    window.Option2->setChecked(true);
    EXPECT_TRUE(window.Combo1->isEnabled());
    EXPECT_TRUE(window.Check2->isEnabled());
    window.Combo1->setCurrentIndex(3);
    window.Option1->setChecked(true);
    EXPECT_EQ(window.Combo1->currentIndex(), 0);
    EXPECT_FALSE(window.Check2->isEnabled());

    // An edit never makes a second event.
    window.SetEditMode(5, s("Dentist"));
    window.Option2->setChecked(true);
    EXPECT_FALSE(window.Check2->isEnabled());
    EXPECT_FALSE(window.Command3->isHidden());
    EXPECT_TRUE(window.Command0->isHidden());
    EXPECT_TRUE(window.Command2->isHidden());
}

TEST_F(Editor, TabInTheCommentMovesOnAndTypesNothing)
{
    frmMesAdd& window = editor();
    window.show();
    QApplication::setActiveWindow(&window);
    window.Text3->setPlainText(s("Bring the card"));
    window.Text3->setFocus();
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, s("\t"));
    QApplication::sendEvent(window.Text3, &tab);
    EXPECT_EQ(window.Text3->toPlainText(), s("Bring the card"));
    EXPECT_NE(QApplication::focusWidget(), window.Text3);
}

TEST_F(Editor, TheRepeatCountTakesDigitsUpToTheUnitsLimit)
{
    frmMesAdd& window = editor();
    window.Check3->setChecked(true);
    EXPECT_TRUE(window.Combo2->isEnabled());
    EXPECT_TRUE(window.Label6->isHidden());
    window.Combo2->setCurrentIndex(2);
    EXPECT_EQ(window.Text2->text(), s("1"));
    EXPECT_EQ(window.Combo3->currentIndex(), 2);
    EXPECT_FALSE(window.Text2->isEnabled());

    window.Combo2->setCurrentIndex(4);
    EXPECT_TRUE(window.Text2->isEnabled());
    EXPECT_EQ(window.Combo3->currentIndex(), 3);
    window.Combo3->setCurrentIndex(4);
    window.Text2->setText(s("30"));
    EXPECT_EQ(window.Text2->text(), s("23"));
    window.Combo3->setCurrentIndex(3);
    EXPECT_EQ(window.Text2->text(), s("23"));
    window.Text2->setText(s("400"));
    EXPECT_EQ(window.Text2->text(), s("364"));
    window.Text2->setText(s("1x2x"));
    EXPECT_EQ(window.Text2->text(), s("12"));

    QString letter;
    int count = 0;
    window.GetRepeatCode(&letter, &count);
    EXPECT_EQ(letter, s("d"));
    EXPECT_EQ(count, 12);

    window.Check3->setChecked(false);
    EXPECT_EQ(window.Combo2->currentIndex(), 0);
    EXPECT_FALSE(window.Combo2->isEnabled());
    EXPECT_FALSE(window.Label6->isHidden());
}

TEST_F(Editor, TwoSeparateEventsGiveTwoRowsEachWithItsOwnIdAndEntries)
{
    // A row slipped in between the two shows that each id is taken from its row.
    ASSERT_TRUE(db().Execute(s("CREATE TEMP TRIGGER gap AFTER INSERT ON lst_Dates WHEN NEW.Step_Time = '09:00' "
                               "BEGIN INSERT INTO lst_Dates (Measure_Name, Step_Name, Step_Rep) "
                               "VALUES ('Other', 'filler', 0); END"))
                    .Ok());
    frmMesAdd& window = prepare(s("Dentist"), QDate(2026, 12, 20), QTime(9, 0));
    window.Option2->setChecked(true);
    window.Combo1->setCurrentIndex(1);
    window.Check2->setChecked(true);
    window.Check3->setChecked(true);
    window.Combo2->setCurrentIndex(2);
    window.Command0_Click();

    const QList<Row> rows = stored();
    ASSERT_EQ(rows.size(), 3);
    const Row& plain = rows[0];
    const Row& filler = rows[1];
    const Row& ahead = rows[2];
    EXPECT_EQ(filler.title, s("filler"));
    EXPECT_EQ(plain.category, s("Work"));
    EXPECT_EQ(plain.title, s("Dentist"));
    EXPECT_EQ(plain.date, QDate(2026, 12, 20));
    EXPECT_EQ(plain.time.toString(), s("09:00"));
    EXPECT_TRUE(plain.notes.isNull());
    EXPECT_FALSE(plain.oneOff);
    EXPECT_EQ(ahead.date, QDate(2026, 12, 20));
    EXPECT_EQ(ahead.time.toString(), s("08:50"));
    EXPECT_EQ(ahead.notes.toString(), s(""));
    EXPECT_FALSE(ahead.notes.isNull());

    EXPECT_EQ(advance(ahead.id), s("1"));
    EXPECT_EQ(advance(plain.id), s("<none>"));
    for (qint64 id : {plain.id, ahead.id}) {
        EXPECT_EQ(ruleType(id), s("w")) << id;
        EXPECT_EQ(ruleCount(id), s("1")) << id;
    }
    EXPECT_EQ(ruleType(filler.id), s("<none>"));
    EXPECT_FALSE(Forms::IsLoaded<frmMesAdd>());
    EXPECT_EQ(process().ListView1.Count(), 3);
    // The editor opened the recordset for itself and closed it again.
    EXPECT_EQ(DataEnvironment1().rsCommand3.State(), 0);
}

TEST_F(Editor, ShowingAheadWithoutTimeAndBackAtTheSetTimeGiveOneRow)
{
    frmMesAdd& window = prepare(s("Tax return"), QDate(2027, 5, 15));
    window.Option2->setChecked(true);
    window.Combo1->setCurrentIndex(2);
    window.Command0_Click();
    QList<Row> rows = stored();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].date, QDate(2027, 5, 14));
    EXPECT_EQ(rows[0].time.toString(), s("23:30"));
    EXPECT_EQ(advance(rows[0].id), s("2"));
    EXPECT_EQ(ruleType(rows[0].id), s("<none>"));

    frmMesAdd& second = prepare(s("Passport"), QDate(2027, 6, 1));
    second.Option2->setChecked(true);
    second.Combo1->setCurrentIndex(4);
    second.Check2->setChecked(true);
    second.Option1->setChecked(true);
    second.Command0_Click();
    rows = stored();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1].date, QDate(2027, 6, 1));
    EXPECT_TRUE(rows[1].time.isNull());
    EXPECT_EQ(advance(rows[1].id), s("<none>"));
}

TEST_F(Editor, TodayWithoutATimeIsNotPastAndOkAndAddCountDifferently)
{
    const QDate today = Now().date();
    frmMesAdd& window = prepare(s("Today, no time"), today);
    window.DTPicker2->setTime(QTime(0, 0));
    window.Command0_Click();
    EXPECT_EQ(stored().size(), 1);
    EXPECT_TRUE(messages().isEmpty());

    // One minute ago: OK takes it, Add refuses it.
    frmMesAdd& add = prepare(s("A minute ago"), today, QTime(14, 29));
    add.Command2_Click();
    EXPECT_EQ(stored().size(), 1);
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes185"))});
    EXPECT_EQ(add.Text1->text(), s("A minute ago"));
    add.Command0_Click();
    EXPECT_EQ(stored().size(), 2);

    MsgBoxScript::Clear();
    MsgBoxScript::SetAutomatic(true);
    frmMesAdd& late = prepare(s("Three minutes ago"), today, QTime(14, 27));
    late.Command0_Click();
    late.Command2_Click();
    frmMesAdd& yesterday = prepare(s("Yesterday"), today.addDays(-1));
    yesterday.Command0_Click();
    EXPECT_EQ(stored().size(), 2);
    EXPECT_EQ(messages().size(), 3);
    EXPECT_TRUE(Forms::IsLoaded<frmMesAdd>());
    EXPECT_EQ(editor().Text1->text(), s("Yesterday"));
}

TEST_F(Editor, APastDateOfTheProtectedCategoryComesRoundAgainKeepingTheComment)
{
    const QString birthdays = GetLangText(s("rpt12"));
    frmMesAdd& window = editor();
    window.SetCategory(birthdays, process().BuiltInMeasure1);
    window.Text1->setText(s("Anna"));
    window.DTPicker1->setDate(QDate(2020, 3, 15));
    window.Text3->setPlainText(s("Bring cake"));
    window.Command2_Click();
    window.Text1->setText(s("Boris"));
    window.DTPicker1->setDate(QDate(2019, 12, 25));
    window.Command0_Click();

    const QList<Row> rows = stored();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].category, process().BuiltInMeasure1);
    EXPECT_EQ(rows[0].date, QDate(2027, 3, 15));
    EXPECT_EQ(rows[0].notes.toString(),
              GetLangText(s("mes97")) + s(" - ") + DateText(QDate(2020, 3, 15)) + s("\nBring cake"));
    // Still ahead this year: this year's day.
    EXPECT_EQ(rows[1].date, QDate(2026, 12, 25));
    EXPECT_EQ(rows[1].notes.toString(), GetLangText(s("mes97")) + s(" - ") + DateText(QDate(2019, 12, 25)));
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(Editor, AddKeepsTheWindowOpenForTheNextEvent)
{
    frmMesAdd& window = prepare(s("Standup"), QDate(2026, 12, 14), QTime(9, 30));
    window.Text3->setPlainText(s("Room 4"));
    window.Option2->setChecked(true);
    window.Check3->setChecked(true);
    window.Command2_Click();
    ASSERT_EQ(stored().size(), 1);
    EXPECT_EQ(stored()[0].time.toString(), s("09:25"));
    EXPECT_EQ(stored()[0].notes.toString(), s("Room 4"));
    ASSERT_TRUE(Forms::IsLoaded<frmMesAdd>());
    EXPECT_TRUE(window.Text1->text().isEmpty());
    EXPECT_TRUE(window.Text3->toPlainText().isEmpty());
    EXPECT_FALSE(window.Command2->isEnabled());
    EXPECT_EQ(window.DTPicker1->date(), QDate(2026, 12, 14));
    EXPECT_TRUE(window.Option2->isChecked());
    EXPECT_TRUE(window.Check3->isChecked());
}

TEST_F(Editor, ADuplicateTitleIsAskedAboutAndNoEndsTheSave)
{
    addEvent(s("Work"), s("Standup"), QDate(2026, 12, 20));
    process().DateRefresh();
    frmMesAdd& window = prepare(s("Standup"), QDate(2026, 12, 21));
    MsgBoxScript::Push(vbNo);
    window.Command0_Click();
    EXPECT_EQ(stored().size(), 1);
    ASSERT_EQ(MsgBoxScript::Log().size(), 1);
    EXPECT_EQ(MsgBoxScript::Log()[0].buttons, 36);
    // Letter case counts.
    window.Text1->setText(s("standup"));
    window.Command0_Click();
    EXPECT_EQ(stored().size(), 2);
    EXPECT_EQ(MsgBoxScript::Log().size(), 1);
}

TEST_F(Editor, ASaveThatCannotWriteItsEntriesTakesItsRowsBackAndStaysOpen)
{
    frmMesAdd& window = prepare(s("Flight"), QDate(2026, 12, 22), QTime(6, 0));
    window.Option2->setChecked(true);
    window.Check2->setChecked(true);
    window.Check3->setChecked(true);
    refuseRegistryChanges(true);
    window.Command0_Click();
    refuseRegistryChanges(false);
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes327"))});
    ASSERT_TRUE(Forms::IsLoaded<frmMesAdd>());
    EXPECT_EQ(window.Text1->text(), s("Flight"));
    EXPECT_EQ(DataEnvironment1().rsCommand3.State(), 0);

    window.Command0_Click();
    EXPECT_EQ(stored().size(), 2);
}

TEST_F(Editor, ARowTheDatabaseRefusesLeavesNoneOfTheSaveBehind)
{
    ASSERT_TRUE(db().Execute(s("CREATE TEMP TRIGGER refuse BEFORE INSERT ON lst_Dates WHEN NEW.Step_Time = '05:50' "
                               "BEGIN SELECT RAISE(ABORT, 'refused'); END"))
                    .Ok());
    frmMesAdd& window = prepare(s("Train"), QDate(2026, 12, 22), QTime(6, 0));
    window.Option2->setChecked(true);
    window.Combo1->setCurrentIndex(1);
    window.Check2->setChecked(true);
    window.Command0_Click();
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes331"))});
    EXPECT_TRUE(Forms::IsLoaded<frmMesAdd>());
    EXPECT_FALSE(DataEnvironment1().Connection1.InTransaction());
}

}  // namespace
