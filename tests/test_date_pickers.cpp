// Typed dates, in the C, en_US and ru_RU locales: what a date field reads from a
// text and shows for it, and every date picker of the program taking the date the
// user typed (Tab first or the save at once) or refusing it with "mes66", the text
// kept and the focus on the picker. Nothing is ever corrected into another date.

#include "test_tasks_fixture.h"

#include "events/frmCaseMsr.h"
#include "phonebook/frmCntAdd.h"
#include "platform/DateField.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

// Unknown: no date.
const QDate NoDate;

TEST(DateField, ReadsTheLocalesNumericFormAndIsoAndCorrectsNothing)
{
    const struct {
        const char* locale;
        const char* text;
        QDate date;
        const char* shown;  // the date in the field's form
    } cases[] = {
        {"C", "2027-03-05", {2027, 3, 5}, "2027-03-05"},
        {"C", " 2027.3.5 ", {2027, 3, 5}, "2027-03-05"},
        {"C", "2027/03/05/", {2027, 3, 5}, "2027-03-05"},
        {"C", "2028-02-29", {2028, 2, 29}, "2028-02-29"},
        {"C", "2027-02-29", NoDate, ""},
        {"C", "2027-04-31", NoDate, ""},
        {"C", "2027-13-01", NoDate, ""},
        {"C", "5.3.2027", {2027, 3, 5}, "2027-03-05"},  // C names its month after the day
        {"C", "31/12/2026", {2026, 12, 31}, "2026-12-31"},
        {"C", "27-03-05", NoDate, ""},
        {"C", "10 Dec 2026", NoDate, ""},
        {"en_US", "12/31/2026", {2026, 12, 31}, "12/31/2026"},
        {"en_US", "3.5.2027", {2027, 3, 5}, "3/5/2027"},
        {"en_US", "03-05-2027", {2027, 3, 5}, "3/5/2027"},
        {"en_US", "2027-03-05", {2027, 3, 5}, "3/5/2027"},
        {"en_US", "4/31/2027", NoDate, ""},
        {"en_US", "2/29/2027", NoDate, ""},
        {"en_US", "13/1/2027", NoDate, ""},
        {"en_US", "12/31/26", NoDate, ""},
        {"en_US", "1 2/3/2027", NoDate, ""},
        {"ru_RU", "31.12.2026", {2026, 12, 31}, "31.12.2026"},
        {"ru_RU", "1/3/2027", {2027, 3, 1}, "01.03.2027"},
        {"ru_RU", "5-3-2027", {2027, 3, 5}, "05.03.2027"},
        {"ru_RU", "31 . 12 . 2026", {2026, 12, 31}, "31.12.2026"},
        {"ru_RU", "2027-03-05", {2027, 3, 5}, "05.03.2027"},
        {"ru_RU", "31.04.2027", NoDate, ""},
        {"ru_RU", "29.02.2027", NoDate, ""},
        {"ru_RU", "15.13.2027", NoDate, ""},
        {"ru_RU", "31.12", NoDate, ""},
        {"ru_RU", "31..2026", NoDate, ""},
        {"ru_RU", "1.2.3.2027", NoDate, ""},
        {"ru_RU", "Second task.12.2026", NoDate, ""},
        {"de_DE", "31.12.2026", {2026, 12, 31}, "31.12.2026"},  // short form "dd.MM.yy"
        {"hu_HU", "2026. 12. 31.", {2026, 12, 31}, "2026. 12. 31"},
        {"bg_BG", "31.12.2026", {2026, 12, 31}, "31.12.2026"},  // short form "d.MM.yy 'г'."
    };
    for (const auto& c : cases) {
        const QLocale locale(s(c.locale));
        const QDate date = ReadFieldDate(s(c.text), locale);
        EXPECT_EQ(date, c.date) << c.locale << " " << c.text;
        EXPECT_EQ(DateFieldText(date, locale), s(c.shown)) << c.locale << " " << c.text;
    }
}

enum class Key { Tab, Enter };

struct Typed {
    const char* locale;
    const char* keys;   // typed over the picker's whole text
    Key key;            // Tab, then the save; or the save at once (Enter, OK)
    QDate date;         // stored; none: refused with the text kept
    const char* shown;  // the picker's text afterwards
};

// Every picker starts at this date; letters never enter a picker, so typing them
// leaves it.
const QDate Given(2027, 1, 15);

const Typed TypedCases[] = {
    {"C", "20271231", Key::Enter, {2027, 12, 31}, "2027-12-31"},
    {"C", "2027/3/5", Key::Tab, {2027, 3, 5}, "2027-03-05"},
    {"C", "2027-04-31", Key::Tab, NoDate, "2027-04-31"},
    {"C", "2027-02-29", Key::Enter, NoDate, "2027-02-29"},
    {"C", "31.12.2026", Key::Tab, {2026, 12, 31}, "2026-12-31"},
    {"C", "abc", Key::Tab, Given, "2027-01-15"},
    {"en_US", "12312026", Key::Tab, {2026, 12, 31}, "12/31/2026"},
    {"en_US", "3.5.2027", Key::Tab, {2027, 3, 5}, "3/5/2027"},
    {"en_US", "2027-03-05", Key::Enter, {2027, 3, 5}, "3/5/2027"},
    {"en_US", "4/31/2027", Key::Tab, NoDate, "4/31/2027"},
    {"en_US", "2/29/2027", Key::Enter, NoDate, "2/29/2027"},
    {"en_US", "13/1/2027", Key::Enter, NoDate, "13/1/2027"},
    {"ru_RU", "31122026", Key::Tab, {2026, 12, 31}, "31.12.2026"},
    {"ru_RU", "1/3/2027", Key::Tab, {2027, 3, 1}, "01.03.2027"},
    {"ru_RU", "2027-03-05", Key::Enter, {2027, 3, 5}, "05.03.2027"},
    {"ru_RU", "31.04.2027", Key::Tab, NoDate, "31.04.2027"},
    {"ru_RU", "29.02.2027", Key::Enter, NoDate, "29.02.2027"},
    {"ru_RU", "15.13.2027", Key::Tab, NoDate, "15.13.2027"},
    {"ru_RU", "31.12", Key::Enter, NoDate, "31.12"},
    {"ru_RU", "Second task", Key::Enter, Given, "15.01.2027"},
};

class DatePickers : public TaskListTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        // Windows take the locale they are made in.
        QLocale::setDefault(QLocale(s(GetParam())));
        TaskListTest::SetUp();
    }

    void TearDown() override
    {
        TaskListTest::TearDown();
        QLocale::setDefault(QLocale::system());
    }

    // With the text a keyboard gives these keys.
    static void press(QWidget* widget, int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Tab ? s("\t") : s("\r"));
        QCoreApplication::sendEvent(widget, &event);
    }

    static void typeKeys(QWidget* widget, const QString& text)
    {
        for (const QChar c : text) {
            QKeyEvent key(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(widget, &key);
        }
    }

    static QStringList dates(Connection& connection, const char* sql)
    {
        QList<QVariantList> rows;
        EXPECT_TRUE(connection.Query(s(sql), {}, &rows).Ok());
        QStringList texts;
        for (const QVariantList& row : rows)
            texts.append(row.value(0).toString().left(10));
        return texts;
    }

    // Every kind of picker: how it is reached, how its window saves (after Tab, or at
    // once), and what the save stores.
    struct Picker {
        const char* name;
        std::function<DateField*()> picker;
        std::function<void(Key)> save;
        std::function<QStringList()> stored;
        bool adds;  // a row per save; else the one row changes
    };

    static DateField* editorPicker()
    {
        frmMesAdd& window = Forms::Get<frmMesAdd>();
        window.SetCategory(s("Work"), s("Work"));
        window.show();
        return window.DTPicker1;
    }

    DateField* plannerPicker()
    {
        if (!Forms::IsLoaded<frmOrg>()) {
            main().ShowModeless();
            selectCategory(s("Work"));
            main().ListView1_DblClick();
        }
        QTableView* grid = Forms::Get<frmOrg>().DataGrid1;
        const QModelIndex cell = grid->model()->index(0, 2);
        if (!grid->indexWidget(cell)) {
            grid->setCurrentIndex(cell);
            grid->edit(cell);
        }
        return qobject_cast<DateField*>(grid->indexWidget(cell));
    }

    static std::function<DateField*()> cardPicker(int tab, QCheckBox* frmCntAdd::*tick, DateField* frmCntAdd::*picker)
    {
        return [=] {
            frmCntAdd& window = Forms::Get<frmCntAdd>();
            window.show();
            window.tbsOptions->setCurrentIndex(tab);
            // Only the date under test is stored: the other stays unticked.
            window.Check1->setChecked(tick == &frmCntAdd::Check1);
            window.Check2->setChecked(tick == &frmCntAdd::Check2);
            return window.*picker;
        };
    }

    void saveCard(Key key)
    {
        frmCntAdd& window = Forms::Get<frmCntAdd>();
        window.Text2Name->setText(s("Ann %1").arg(++saves_));
        if (key == Key::Enter)
            press(window.focusWidget(), Qt::Key_Return);  // OK, the default button
        else
            window.Command6->click();
    }

    std::function<QStringList()> phoneDates(const char* column)
    {
        return [this, column] {
            return dates(DataEnvironment1().Connection2,
                         QStringLiteral("SELECT %1 FROM tbl_Phones ORDER BY ID").arg(s(column)).toUtf8().constData());
        };
    }

    QStringList eventDates() { return dates(db(), "SELECT Step_Date FROM lst_Dates ORDER BY Step_Numeric"); }

    std::vector<Picker> pickers()
    {
        const auto saveCard = [this](Key key) { this->saveCard(key); };
        const auto events = [this] { return eventDates(); };
        return {
            {"event editor", editorPicker,
             [this](Key key) {
                 frmMesAdd& window = Forms::Get<frmMesAdd>();
                 window.Text1->setText(s("Event %1").arg(++saves_));
                 if (key == Key::Enter)
                     press(window.DTPicker1, Qt::Key_Return);
                 else
                     window.Command0->click();
             },
             events, true},
            {"task list", [this] { return (Forms::IsLoaded<frmBus>() ? list() : open()).DTPicker1; },
             [](Key key) {
                 list().Text1->setText(s("task"));
                 if (key == Key::Enter)
                     press(list().DTPicker1, Qt::Key_Return);
                 else
                     list().Command1->click();
             },
             [this] { return dates(tasksDb(), "SELECT bsn_Date FROM tbl_Business ORDER BY bsn_ID"); }, true},
            {"birthday", cardPicker(0, &frmCntAdd::Check1, &frmCntAdd::TextDate), saveCard, phoneDates("Personal_Date"),
             true},
            {"anniversary", cardPicker(4, &frmCntAdd::Check2, &frmCntAdd::TextWDate), saveCard,
             phoneDates("Personal_StatusDate"), true},
            {"anniversary reminder", cardPicker(4, &frmCntAdd::Check2, &frmCntAdd::TextWDate),
             [this](Key) {
                 whenModal([] {
                     if (frmCaseMsr* dialog = Forms::Find<frmCaseMsr>())
                         dialog->Command1->click();
                 });
                 Forms::Get<frmCntAdd>().Command5->click();
             },
             events, true},
            // Last: a refused date stays in its editor, which a window opened later would
            // take the focus from, to be refused again.
            {"planner", [this] { return plannerPicker(); },
             [](Key key) {
                 if (key == Key::Enter)
                     press(QApplication::focusWidget(), Qt::Key_Return);
             },
             [this] {
                 return dates(db(), QStringLiteral("SELECT Step_Date FROM lst_Dates WHERE Step_Numeric = %1")
                                        .arg(report_)
                                        .toUtf8()
                                        .constData());
             },
             false},
        };
    }

    // Types a case into a picker, then Tab or the save at once: the date stored, or
    // the message with the text and the focus kept.
    void check(const Picker& p, const Typed& typed)
    {
        const QString notValid = GetLangText(s("mes66"));
        QPointer<DateField> picker = p.picker();
        ASSERT_TRUE(picker);
        ASSERT_TRUE(picker->isEnabled());
        picker->setDate(Given);
        QApplication::setActiveWindow(picker->window());
        picker->setFocus(Qt::TabFocusReason);
        picker->selectAll();
        typeKeys(picker, s(typed.keys));
        const QStringList before = p.stored();
        const qsizetype shown = messages().size();
        if (typed.key == Key::Tab)
            press(picker, Qt::Key_Tab);
        p.save(typed.key);
        pump(10);
        if (typed.date.isValid()) {
            const QStringList after = p.stored();
            EXPECT_EQ(after.size(), before.size() + (p.adds ? 1 : 0));
            EXPECT_EQ(after.value(after.size() - 1), typed.date.toString(Qt::ISODate));
            EXPECT_FALSE(messages().mid(shown).contains(notValid));
            if (picker && picker->isVisible()) {
                EXPECT_EQ(picker->text(), s(typed.shown));
            } else if (!p.adds) {
                EXPECT_EQ(Forms::Get<frmOrg>().GridModel->index(0, 2).data().toString(), s(typed.shown));
            }
        } else {
            EXPECT_EQ(p.stored(), before);
            EXPECT_EQ(messages().mid(shown), QStringList{notValid});
            DateField* held = p.picker();  // the planner's cell has its editor again
            ASSERT_TRUE(held);
            EXPECT_EQ(held->text(), s(typed.shown));
            EXPECT_EQ(QApplication::focusWidget(), held);
        }
    }

    int saves_ = 0;
    qint64 report_ = 0;
};

TEST_P(DatePickers, TakeTheTypedDateOrRefuseItWithTheTextKept)
{
    addCategory(s("Work"));
    report_ = addRow(s("Work"), s("Report"), Given);
    OpenIfClosed(DataEnvironment1().rstbl_Phones);
    for (const Picker& p : pickers()) {
        for (const Typed& typed : TypedCases) {
            if (QLatin1String(typed.locale) != QLatin1String(GetParam()))
                continue;
            SCOPED_TRACE(std::string(p.name) + " " + typed.keys + (typed.key == Key::Tab ? " Tab" : " Enter"));
            check(p, typed);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, DatePickers, ::testing::Values("C", "en_US", "ru_RU"));

// Digits typed one after another go on to the next part once a part is full; a
// separator after four digits typed in a row makes them the year of an ISO date;
// a digit typed into the date a field was given replaces the part it is typed in.
TEST(DateField, TypedDigitsMoveOnToTheNextPart)
{
    const struct {
        const char* locale;
        const char* keys;
        int caret;  // -1: typed over the whole text
        const char* shown;
    } cases[] = {
        {"ru_RU", "31122026", -1, "31.12.2026"},
        {"ru_RU", "5.3.2027", -1, "5.3.2027"},
        {"ru_RU", "2026-12-31", -1, "2026-12-31"},
        {"ru_RU", "311320261", -1, "31.13.2026"},  // a full year takes no fifth digit
        {"ru_RU", "11", 4, "10.11.2026"},
        {"ru_RU", "/05", 2, "10.05.2026"},
        {"en_US", "12312026", -1, "12/31/2026"},
        {"en_US", "2026/12/31", -1, "2026/12/31"},
        {"en_US", "15", 4, "12/15/2026"},
        {"C", "20261231", -1, "2026-12-31"},
        {"C", "2026.1.5", -1, "2026.1.5"},
    };
    for (const auto& c : cases) {
        DateField field;
        field.setLocale(QLocale(s(c.locale)));
        field.setDate(QDate(2026, 12, 10));
        if (c.caret < 0)
            field.selectAll();
        else
            field.setCursorPosition(c.caret);
        for (const QChar key : s(c.keys)) {
            QKeyEvent event(QEvent::KeyPress, key.unicode(), Qt::NoModifier, QString(key));
            QCoreApplication::sendEvent(&field, &event);
        }
        EXPECT_EQ(field.text(), s(c.shown)) << c.locale << " " << c.keys;
    }
}

}  // namespace
