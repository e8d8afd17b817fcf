// The phone-book window: its place among the windows, the columns its settings
// show, the group filter, sorting, cell edits and deletions, and its grid's row
// being the shared recordset's row.

#include "test_phonebook_fixture.h"

#include "core/clsINI.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>

namespace {

class PhoneBook : public PhoneBookTest {
protected:
    void setAllColumns(const char* value)
    {
        clsINI ini;
        ini.SetFileName(OptionsFilePath());
        for (int column : ChoosableGridColumns())
            ini.SetValue(s("PhoneGridView"), ColumnChoiceKey(column), s(value));
        ASSERT_TRUE(ini.UpdateFile());
    }
    static QList<int> shownColumns()
    {
        QList<int> shown;
        for (int column = 0; column < Contact::FieldCount; ++column) {
            if (!phones().DataGrid1->isColumnHidden(column))
                shown.append(column);
        }
        return shown;
    }
    static void refuseWrites(const char* what)
    {
        ASSERT_TRUE(phoneDb()
                        .Execute(s("CREATE TEMP TRIGGER refuse BEFORE %1 ON tbl_Phones "
                                   "BEGIN SELECT RAISE(ABORT, 'refused'); END")
                                     .arg(s(what)))
                        .Ok());
    }
};

TEST_F(PhoneBook, ItTakesTheMainWindowsPlaceAndGivesItBackOnlyByTheProgram)
{
    frmPhones& window = open();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.Left(), 1500);
    EXPECT_EQ(window.Top(), 900);
    EXPECT_EQ(process().PositionHandOffLeft, 0);
    EXPECT_EQ(window.windowTitle(), s("Tessaryn v.3.30 - [") + GetLangText(s("mes226")) + s("]"));
    window.Form_Activate();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Forms::IsLoaded<frmMain>());

    window.Toolbar1_ButtonClick(10);
    window.Move(2100, 1200);
    window.ToolbarButton(2)->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Forms::IsLoaded<frmPhones>());
    EXPECT_FALSE(Forms::IsLoaded<frmCntSearch>());
    ASSERT_TRUE(Forms::IsLoaded<frmMain>());
    main().Form_Activate();
    EXPECT_EQ(main().Left(), 2100);
    EXPECT_EQ(main().Top(), 1200);
    EXPECT_EQ(contacts().State(), 0);

    open().Form_Activate();
    phones().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Forms::IsLoaded<frmPhones>());
    EXPECT_FALSE(Forms::IsLoaded<frmMain>());
}

TEST_F(PhoneBook, TheSettingsChooseTheColumnsAndTheGivenNameIsAlwaysShown)
{
    const QList<int> choosable = ChoosableGridColumns();
    ASSERT_EQ(choosable.size(), 29);
    for (const char* value : {"True", "0"}) {
        setAllColumns(value);
        open();
        EXPECT_EQ(shownColumns(), QList<int>{1} + (*value == 'T' ? choosable : QList<int>())) << value;
        Forms::Unload<frmPhones>(UnloadMode::ControlMenu);
    }
    // Column 1 is the given name, column 2 the surname.
    EXPECT_EQ(phones().GridModel->headerData(1, Qt::Horizontal).toString(), GetLangText(s("mes93")));
    EXPECT_EQ(phones().GridModel->headerData(2, Qt::Horizontal).toString(), GetLangText(s("mes92")));
}

TEST_F(PhoneBook, EveryChoiceOfAGroupFiltersByItsNameTakenLiterally)
{
    for (const char* group : {"O'Brien", "50%", "a*b", "[x", "Друзья"})
        addGroup(s(group));
    addContact(s("Ann"), s("Adams"), s("General"));
    addContact(s("Pat"), s("Kelly"), s("O'Brien"));
    addContact(s("Half"), QString(), s("50%"));
    addContact(s("Fifty"), QString(), s("50 percent"));
    addContact(s("Star"), QString(), s("a*b"));
    addContact(s("Abe"), QString(), s("ab"));
    addContact(s("Bracket"), QString(), s("[x"));
    addContact(s("Ира"), QString(), s("ДРУЗЬЯ"));
    addContact(QString(), s("Nameless"), s("General"));
    open();
    EXPECT_EQ(column(), (QStringList{s("Ann"), s("Pat"), s("Half"), s("Fifty"), s("Star"), s("Abe"), s("Bracket"),
                                     s("Ира")}));
    const struct {
        const char* group;
        QStringList given;
    } cases[] = {{"General", {s("Ann"), QString()}},  {"O'Brien", {s("Pat")}}, {"50%", {s("Half")}},
                 {"a*b", {s("Star")}},     {"[x", {s("Bracket")}},  {"Друзья", {s("Ира")}}};
    for (const auto& c : cases) {
        const int entry = c.group == std::string("General") ? 1 : phones().Combo1->findText(s(c.group));
        chooseGroup(entry);
        EXPECT_EQ(column(), c.given) << c.group;
    }
    // The same entry chosen again after a search shows its group again.
    search(1, s("A"));
    EXPECT_EQ(column(), (QStringList{s("Ann"), s("Abe")}));
    EXPECT_FALSE(label().isEmpty());
    chooseGroup(phones().Combo1->currentIndex());
    EXPECT_EQ(column(), QStringList{s("Ира")});
    EXPECT_TRUE(label().isEmpty());
    // So also after code chose it (the group manager refills the list): the user's
    // later choice of that entry is a choice of its own.
    FillGroupCombo(phones().Combo1);
    search(1, s("A"));
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    QApplication::sendEvent(phones().Combo1, &key);
    emit phones().Combo1->activated(0);
    EXPECT_EQ(column().size(), 8);
    EXPECT_TRUE(label().isEmpty());
}

TEST_F(PhoneBook, AHeadingSortsItsColumnAscendingDatesAsDatesAndOthersNot)
{
    setAllColumns("True");
    const QList<qint64> ids = {addContact(s("bob"), s("Zed")), addContact(s("Al"), s("young")),
                               addContact(s("Cy"), s("Best"))};
    const char* const births[] = {"2001-02-03", "1999-12-31", "2001-01-20"};
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(phoneDb().Execute(s("UPDATE tbl_Phones SET Personal_Date = ? WHERE ID = ?"),
                                      {s(births[i]), ids[i]}).Ok());
    open();
    selectContact(s("Cy"));
    const struct {
        int column;
        QStringList given;
    } cases[] = {{1, {s("Al"), s("bob"), s("Cy")}},
                 {3, {s("Al"), s("bob"), s("Cy")}},
                 {2, {s("Cy"), s("Al"), s("bob")}},
                 {7, {s("Al"), s("Cy"), s("bob")}}};
    for (const auto& c : cases) {
        phones().DataGrid1->horizontalHeader()->sectionClicked(c.column);
        EXPECT_EQ(column(), c.given) << c.column;
        // The current contact stays the current row.
        EXPECT_EQ(contacts().Field(Contact::First_Name).toString(), s("Cy"));
        EXPECT_EQ(phones().DataGrid1->currentIndex().row(), c.given.indexOf(s("Cy")));
    }
}

TEST_F(PhoneBook, CellEditsAreCheckedAndAWriteTheDatabaseRefusesIsReported)
{
    setAllColumns("True");
    const qint64 id = addContact(s("Ann"), s("Adams"));
    open();
    const struct {
        int column;
        const char* typed;
        int field;
        QVariant stored;
        const char* message;
    } cases[] = {
        {1, "", Contact::First_Name, s("Ann"), "mes229"},
        {2, "", Contact::Second_Name, s(""), nullptr},
        {7, "10 March 1980", Contact::Personal_Date, QVariant(), "mes66"},
        {7, "1980-03-10", Contact::Personal_Date, s("1980-03-10"), nullptr},
        {7, "31.02.1980x", Contact::Personal_Date, s("1980-03-10"), "mes66"},
        {7, "", Contact::Personal_Date, QVariant(), nullptr},
    };
    for (const auto& c : cases) {
        MsgBoxScript::Clear();
        editCell(0, c.column, s(c.typed));
        pump(20);
        EXPECT_EQ(contactRow(id).value(c.field), c.stored) << c.typed;
        EXPECT_EQ(messages(), c.message ? QStringList{GetLangText(s(c.message))} : QStringList()) << c.typed;
    }
    refuseWrites("UPDATE");
    MsgBoxScript::Clear();
    EXPECT_FALSE(editCell(0, 4, s("+7 900")));
    pump(20);
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes340"))});
    EXPECT_EQ(column(4), QStringList{QString()});
}

TEST_F(PhoneBook, TheDeleteKeyAsksTheToolbarDoesNotAndARefusalIsReported)
{
    addContact(s("Ann"));
    addContact(s("Bob"));
    addContact(s("Cy"));
    open();
    QKeyEvent deleteKey(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    selectContact(s("Bob"));
    MsgBoxScript::Push(vbNo);
    QCoreApplication::sendEvent(phones().DataGrid1, &deleteKey);
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes230"))});
    EXPECT_EQ(column(), (QStringList{s("Ann"), s("Bob"), s("Cy")}));
    QCoreApplication::sendEvent(phones().DataGrid1, &deleteKey);
    EXPECT_EQ(column(), (QStringList{s("Ann"), s("Cy")}));
    EXPECT_EQ(contacts().Field(Contact::First_Name).toString(), s("Cy"));

    MsgBoxScript::Clear();
    phones().ToolbarButton(6)->trigger();
    EXPECT_EQ(column(), QStringList{s("Ann")});
    EXPECT_TRUE(messages().isEmpty());

    refuseWrites("DELETE");
    phones().ToolbarButton(6)->trigger();
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes341"))});
    EXPECT_EQ(phoneRows("SELECT count(*) FROM tbl_Phones").value(0).value(0).toInt(), 1);

    // With nothing listed, Delete and View say so and change nothing.
    addGroup(s("Empty"));
    FillGroupCombo(phones().Combo1);
    chooseGroup(2);
    MsgBoxScript::Clear();
    phones().ToolbarButton(6)->trigger();
    phones().ToolbarButton(8)->trigger();
    EXPECT_EQ(messages(), (QStringList{GetLangText(s("mes231")), GetLangText(s("mes231"))}));
    EXPECT_FALSE(Forms::IsLoaded<frmCntAdd>());
}

// The user's steps over a list longer than the grid: after each, the recordset's
// current contact is the one the grid highlights, scrolled into view, and the
// toolbar's Delete and View act on it.
TEST_F(PhoneBook, TheCurrentContactIsAlwaysTheHighlightedRowInView)
{
    addGroup(s("Work"));
    ASSERT_TRUE(phoneDb().BeginTrans().Ok());
    for (int i = 0; i < 300; ++i) {
        const qint64 id = addContact(s("Name%1").arg(i, 3, 10, QLatin1Char('0')),
                                     s("Surname%1").arg(i, 3, 10, QLatin1Char('0')),
                                     i % 3 == 0 ? s("Work") : s("General"));
        ASSERT_TRUE(phoneDb()
                        .Execute(s("UPDATE tbl_Phones SET Personal_Date = ? WHERE ID = ?"),
                                 {QDate(2000, 1, 1).addDays(300 - i).toString(Qt::ISODate), id})
                        .Ok());
    }
    ASSERT_TRUE(phoneDb().CommitTrans().Ok());
    open();
    auto highlighted = [] {
        const QTableView* grid = phones().DataGrid1;
        const QModelIndex index = grid->currentIndex();
        const bool selected = index.isValid() && grid->selectionModel()->isRowSelected(index.row(), {});
        const bool inView = grid->viewport()->rect().contains(grid->visualRect(index));
        const bool current = index.row() == contacts().AbsolutePosition();
        return selected && inView && current ? index.data().toString() : s("<row %1 not shown>").arg(index.row());
    };
    const struct {
        std::function<void()> step;
        const char* current;
    } steps[] = {
        {[] { phones().DataGrid1_HeadClick(7); }, "Name000"},
        {[] { search(0, s("Surname004")); }, "Name004"},
        {[] { Forms::Unload<frmCntSearch>(); }, "Name004"},
        {[] { chooseGroup(1); }, "Name004"},
        {[] { chooseGroup(2); }, "Name297"},
        {[] { phones().DataGrid1_HeadClick(2); }, "Name297"},
        {[] { selectContact(s("Name009")); }, "Name009"},
        {[] { chooseGroup(0); }, "Name009"},
        {[] { search(1, s("Name15")); }, "Name150"},
    };
    for (const auto& c : steps) {
        c.step();
        pump(20);
        EXPECT_EQ(highlighted(), s(c.current)) << c.current;
    }
    phones().ToolbarButton(6)->trigger();
    EXPECT_TRUE(phoneRows("SELECT ID FROM tbl_Phones WHERE First_Name = 'Name150'").isEmpty());
    EXPECT_EQ(highlighted(), s("Name151"));
    whenShown<frmCntAdd>([](frmCntAdd& card) {
        EXPECT_EQ(card.Text2Name->text(), s("Name151"));
        card.Command7->click();
    });
    phones().ToolbarButton(8)->trigger();

    // With no row highlighted there is nothing to act on.
    phones().DataGrid1->clearSelection();
    MsgBoxScript::Clear();
    phones().ToolbarButton(6)->trigger();
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes231"))});
    EXPECT_EQ(phoneRows("SELECT count(*) FROM tbl_Phones").value(0).value(0).toInt(), 299);
}

}  // namespace
