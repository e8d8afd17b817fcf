// The contact-date reminder dialog on its own: its category list, the event row it
// adds for an anniversary (a past date moved to its next occurrence) and its
// failures.

#include "test_event_fixture.h"

#include "core/Formats.h"
#include "events/frmCaseMsr.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

class CaseMsr : public EventWindowTest {
protected:
    void SetUp() override
    {
        EventWindowTest::SetUp();
        main();
    }

    static frmCaseMsr& dialog(const QString& surname, const QString& givenName, const QDate& anniversary)
    {
        frmCaseMsr& window = Forms::Get<frmCaseMsr>();
        window.Surname = surname;
        window.GivenName = givenName;
        window.Anniversary = anniversary;
        return window;
    }

    static QString mark() { return GetLangText(s("mes82")); }
};

TEST_F(CaseMsr, TheListLeavesOutTheTablesFirstCategoryAndShowsBuiltInsUnderTheirTexts)
{
    ASSERT_TRUE(SetOwnText(s("evn2"), s("Appointments")));
    addCategory(s("Work"));
    frmCaseMsr& window = Forms::Get<frmCaseMsr>();
    EXPECT_EQ(window.windowTitle(), GetLangText(s("mnu0")));
    EXPECT_EQ(window.Frame1->title(), GetLangText(s("mes79")));
    EXPECT_EQ(window.Label1->text(), GetLangText(s("mes80")));
    QStringList entries;
    for (int i = 0; i < window.ComboM->count(); ++i)
        entries.append(window.ComboM->itemText(i));
    EXPECT_EQ(entries, (QStringList{s("Birthdays"), s("Appointments"), s("Holidays"), s("Work")}));
    EXPECT_EQ(window.ComboM->currentIndex(), 0);
    EXPECT_TRUE(window.Command1->isEnabled());

    window.ComboM->setCurrentIndex(1);
    dialog(s("Ivanov"), s("Ivan"), QDate(2027, 6, 1)).Command1_Click();
    ASSERT_EQ(stored().size(), 1);
    EXPECT_EQ(stored()[0].category, s("Meetings"));
}

TEST_F(CaseMsr, ADateAheadIsKeptAndAPastOneComesRoundAgainWithTheFormerDateNoted)
{
    const struct {
        QDate anniversary;
        QDate stored;
        bool moved;
    } cases[] = {
        {QDate(2027, 6, 1), QDate(2027, 6, 1), false},
        {QDate(2026, 12, 10), QDate(2026, 12, 10), false},
        {QDate(2015, 12, 25), QDate(2026, 12, 25), true},
        {QDate(2015, 5, 20), QDate(2027, 5, 20), true},
        {QDate(2024, 2, 29), QDate(2027, 3, 1), true},
    };
    for (const auto& c : cases) {
        dialog(s("Petrova"), s("Anna"), c.anniversary).Command1_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const QList<Row> rows = stored();
    ASSERT_EQ(rows.size(), static_cast<int>(std::size(cases)));
    for (int i = 0; i < rows.size(); ++i) {
        const auto& c = cases[i];
        EXPECT_EQ(rows[i].title, s("Petrova Anna (") + mark() + s(")")) << i;
        EXPECT_EQ(rows[i].date, c.stored) << i;
        EXPECT_TRUE(rows[i].time.isNull()) << i;
        EXPECT_FALSE(rows[i].oneOff) << i;
        EXPECT_EQ(rows[i].category, process().BuiltInMeasure1) << i;
        if (c.moved) {
            EXPECT_EQ(rows[i].notes.toString(), mark() + s(" ") + DateText(c.anniversary)) << i;
        } else {
            EXPECT_TRUE(rows[i].notes.isNull()) << i;
        }
        EXPECT_EQ(advance(rows[i].id), s("<none>"));
        EXPECT_EQ(ruleType(rows[i].id), s("<none>"));
    }
    EXPECT_EQ(messages().count(GetLangText(s("mes81"))), rows.size());
    EXPECT_FALSE(Forms::IsLoaded<frmCaseMsr>());
    // The dispatcher picks the rows up at its next refresh, not now.
    EXPECT_EQ(process().ListView1.Count(), 0);
    EXPECT_EQ(DataEnvironment1().rsCommand3.State(), 0);
}

TEST_F(CaseMsr, EmptyNamesStillMakeATitle)
{
    dialog(QString(), QString(), QDate(2027, 1, 1)).Command1_Click();
    EXPECT_EQ(stored().value(0).title, s("  (") + mark() + s(")"));
}

TEST_F(CaseMsr, WithNoCategoryToOfferOkIsDisabled)
{
    ASSERT_TRUE(db().Execute(s("DELETE FROM lst_Measures WHERE Measure_Name <> 'System'")).Ok());
    frmCaseMsr& window = Forms::Get<frmCaseMsr>();
    EXPECT_EQ(window.ComboM->count(), 0);
    EXPECT_FALSE(window.Command1->isEnabled());
}

TEST_F(CaseMsr, AWriteTheDatabaseRefusesIsReportedAndTheDialogStays)
{
    ASSERT_TRUE(db().Execute(s("CREATE TEMP TRIGGER refuse BEFORE INSERT ON lst_Dates "
                               "BEGIN SELECT RAISE(ABORT, 'refused'); END"))
                    .Ok());
    dialog(s("Petrova"), s("Anna"), QDate(2027, 6, 1)).Command1_Click();
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes331"))});
    EXPECT_TRUE(Forms::IsLoaded<frmCaseMsr>());
    EXPECT_EQ(DataEnvironment1().rsCommand3.State(), 0);
}

TEST_F(CaseMsr, ShownOverTheCardItAddsAndCancelAddsNothing)
{
    Form card(s("frmCntAdd"), Form::DialogWindow);
    card.show();
    whenShown<frmCaseMsr>([&](frmCaseMsr& window) {
        EXPECT_EQ(window.parentWidget(), &card);
        EXPECT_EQ(window.Surname, s("Smith"));
        window.CommandCancel->click();
    });
    frmCaseMsr::ShowFor(&card, s("Smith"), s("John"), QDate(2027, 4, 4));
    EXPECT_TRUE(stored().isEmpty());
    whenShown<frmCaseMsr>([](frmCaseMsr& window) { window.Command1->click(); });
    frmCaseMsr::ShowFor(&card, s("Smith"), s("John"), QDate(2027, 4, 4));
    EXPECT_EQ(stored().size(), 1);
}

}  // namespace
