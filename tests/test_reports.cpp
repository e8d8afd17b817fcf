// The report wizard: its pages, the page it writes for each kind (byte for byte,
// escaped, UTF-8), and that it leaves the shared recordsets as other windows left them.

#include "test_tools_fixture.h"

#include "core/Formats.h"
#include "tools/ReportHtml.h"
#include "tools/frmReports.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <sys/stat.h>

namespace {

const char* const PageHead = "<html><head><meta charset=\"utf-8\"><title>";
const char* const TableStart = "<center><table style='border-collapse:collapse;"
                               "font: 11px Tahoma, \"DejaVu Sans\", sans-serif;border: 1px solid #777777;'>";
const char* const Header = "<td style='padding:0 10px;font-weight:bold;border:1px solid #777777;background:#777777;"
                           "color:#FFFFFF;width:200px;height:22px;'>";
QByteArray cell(bool white, const QString& text)
{
    return QByteArray("<td style='padding:0 10px;border: 1px solid #777777;background:")
           + (white ? "#FFFFFF" : "#F0F0F0") + ";width:200px;height:20px;'>" + text.toUtf8() + "</td>";
}

class Reports : public ToolsTest {
protected:
    static frmReports& wizard() { return Forms::Get<frmReports>(); }

    // Chooses the kind (0 events, 1 tasks, 2 contacts), goes to the columns and ticks
    // exactly the given ones (all when none are given).
    static void choose(int option, QList<int> ticked = {})
    {
        wizard().Option1[option]->setChecked(true);
        wizard().cmdNext->click();
        for (int row = 0; row < wizard().List1->count(); ++row)
            wizard().List1->item(row)->setCheckState(ticked.isEmpty() || ticked.contains(row) ? Qt::Checked
                                                                                                : Qt::Unchecked);
    }

    static QByteArray build()
    {
        QFile::remove(ReportFilePath());
        wizard().cmdNext->click();
        PumpUntil([] { return !wizard().Building(); });
        return QFile::exists(ReportFilePath()) ? ReadFile(ReportFilePath()) : QByteArray();
    }

    static QStringList cells(const QByteArray& page)
    {
        static const QRegularExpression cellPattern(s("<td style='[^']*'>(.*?)</td>"));
        QStringList texts;
        for (const QRegularExpressionMatch& match : cellPattern.globalMatch(QString::fromUtf8(page)))
            texts.append(match.captured(1));
        return texts;
    }
};

TEST_F(Reports, TheWizardOffersEachKindsColumnsWithTheirFirstTicks)
{
    struct Kind {
        int option;
        QList<const char*> captions;  // first and last
        int count;
        QList<int> ticked;
    };
    const QList<Kind> kinds = {{0, {"mes219", "mes181"}, 5, {0, 1, 2}},
                               {1, {"mes61", "mes63"}, 3, {0, 1, 2}},
                               {2, {"mes92", "mes128"}, 30, {0, 1, 2, 3, 4}}};
    main().ShowModeless();
    bool seen = false;
    whenShown<frmReports>([&](frmReports& w) {
        seen = true;
        EXPECT_EQ(w.parentWidget(), &main());
        EXPECT_LE((w.frameGeometry().center() - main().frameGeometry().center()).manhattanLength(), 4);
        EXPECT_EQ(w.windowTitle(), GetLangText(s("mes250")));
        EXPECT_EQ(w.Label1->text(), GetLangText(s("mes250")));
        EXPECT_EQ(w.Label2->text(), GetLangText(s("mes251")));
        EXPECT_EQ(w.Frame1->title(), GetLangText(s("mes252")));
        EXPECT_EQ(w.Label4->text(), GetLangText(s("mes291")) + s(":"));
        const char* const options[] = {"opt1", "opt3", "opt2"};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(w.Option1[i]->text(), GetLangText(s(options[i])));
        EXPECT_TRUE(w.Option1[0]->isChecked());
        EXPECT_TRUE(w.cmdBack->isHidden());
        EXPECT_EQ(w.cmdExit->text(), GetLangText(s("cmd1")));
        for (const Kind& kind : kinds) {
            choose(kind.option, {0});
            ASSERT_EQ(w.List1->count(), kind.count);
            EXPECT_EQ(w.List1->item(0)->text(), GetLangText(s(kind.captions[0])));
            EXPECT_EQ(w.List1->item(kind.count - 1)->text(), GetLangText(s(kind.captions[1])));
            // Back and Next again bring the first ticks back.
            w.cmdBack->click();
            EXPECT_FALSE(w.OnSecondPage());
            w.cmdNext->click();
            EXPECT_TRUE(w.OnSecondPage());
            EXPECT_FALSE(w.cmdBack->isHidden());
            for (int row = 0; row < kind.count; ++row)
                EXPECT_EQ(w.List1->item(row)->checkState() == Qt::Checked, kind.ticked.contains(row))
                    << kind.option << " " << row;
            w.cmdBack->click();
        }
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&w, &escape);
    });
    ASSERT_TRUE(main().ToolbarButton(13)->isEnabled());
    clickToolbarButton(13);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(Forms::IsLoaded<frmReports>());
}

TEST_F(Reports, AnEventsPageIsWrittenByteForByteAndEscaped)
{
    setLanguageText("mes290", s("Report <b>&'\""));
    ASSERT_TRUE(SetOwnText(s("evn1"), s("Дни рождения & <b>")));
    addEvent(process().BuiltInMeasure1, s("Anna's <b>&'\""), QDate(2026, 12, 18), s("16:05"));
    addEvent(s("_QM_"), s("False"), QDate(2026, 12, 19), QVariant());
    addEvent(s("Квартал"), s("Отчёт"), QDate(2026, 12, 20), s("9:30 PM"));
    ASSERT_TRUE(db().Execute(s("UPDATE lst_Dates SET Step_Notes = ? WHERE Step_Name = 'False'"), {s("")}).Ok());
    ASSERT_TRUE(
        db().Execute(s("UPDATE lst_Dates SET Step_Notes = ? WHERE Step_Name = ?"), {s("a < b"), s("Отчёт")}).Ok());
    choose(0);
    const QByteArray page = build();

    QByteArray expected = QByteArray(PageHead) + "Report &lt;b&gt;&amp;&#39;&quot;</title></head><body>"
                          + "<center><div style='font: bold 12px Tahoma, \"DejaVu Sans\", sans-serif;"
                          + "text-align:center;'>"
                          + "Report &lt;b&gt;&amp;&#39;&quot;: " + GetLangText(s("mnu0")).toUtf8()
                          + "</div></center><br />" + TableStart + "<tr>";
    for (const char* key : {"mes219", "mes220", "mes179", "mes180", "mes181"})
        expected += Header + GetLangText(s(key)).toUtf8() + "</td>";
    expected += "</tr><tr>" + cell(true, s("Дни рождения &amp; &lt;b&gt;"))
                + cell(true, s("Anna&#39;s &lt;b&gt;&amp;&#39;&quot;")) + cell(true, DateText(QDate(2026, 12, 18)))
                + cell(true, LongTimeText(QTime(16, 5))) + cell(true, s("&nbsp;")) + "</tr><tr>"
                + cell(false, s("_QM_")) + cell(false, s("False")) + cell(false, DateText(QDate(2026, 12, 19)))
                + cell(false, s("&nbsp;")) + cell(false, s("&nbsp;")) + "</tr><tr>" + cell(true, s("Квартал"))
                + cell(true, s("Отчёт")) + cell(true, DateText(QDate(2026, 12, 20)))
                + cell(true, LongTimeText(QTime(21, 30))) + cell(true, s("a &lt; b"))
                + "</tr></table></center></body></html>\r\n";
    EXPECT_EQ(page, expected);
    EXPECT_EQ(opened(), QStringList{ReportFilePath()});

    // With no column ticked every row is its two tags; a second build overwrites the
    // file and opens it again.
    for (int row = 0; row < wizard().List1->count(); ++row)
        wizard().List1->item(row)->setCheckState(Qt::Unchecked);
    EXPECT_TRUE(build().contains(QByteArray(TableStart) + "<tr></tr><tr></tr><tr></tr><tr></tr></table>"));
    EXPECT_EQ(opened().size(), 2);

    // A report shows every contact field: it is its owner's alone, also written over
    // an older one that others could read.
    WriteFile(ReportFilePath(), "older");
    ASSERT_EQ(::chmod(QFile::encodeName(ReportFilePath()).constData(), 0644), 0);
    wizard().cmdNext->click();
    struct stat written {};
    ASSERT_EQ(::stat(QFile::encodeName(ReportFilePath()).constData(), &written), 0);
    EXPECT_EQ(written.st_mode & 0777, 0600u);
    EXPECT_NE(ReadFile(ReportFilePath()), QByteArray("older"));
}

TEST_F(Reports, TasksAndContactsShowTheirFieldsWithEachMappingOnlyWhereItBelongs)
{
    addTask(s("2026-12-01"), s("Birthdays"), true);
    addTask(QVariant(), s("True <i>"), false);
    addTask(s("2026-12-03"), s(""), QVariant());
    choose(1);
    EXPECT_EQ(cells(build()).mid(3), (QStringList{DateText(QDate(2026, 12, 1)), s("Birthdays"), s("Done"), s("&nbsp;"),
                                                   s("True &lt;i&gt;"), s("Not done"),
                                                   DateText(QDate(2026, 12, 3)), s("&nbsp;"), s("&nbsp;")}));

    // Every column of the contact record holds its own name; the four that the report
    // never offers must not appear.
    Recordset probe(phones(), s("tbl_Phones"));
    ASSERT_TRUE(probe.Open().Ok());
    QList<QByteArray> names;
    for (const FieldInfo& field : probe.Fields())
        names.append(field.name.toUtf8());
    QList<std::pair<const char*, QVariant>> fields;
    QStringList expected;
    const QStringList hidden = {s("Groupe_Name"), s("Personal_Photo"), s("Home_Mobile_Reserve"), s("Reserve"), s("ID")};
    for (const QByteArray& name : names) {
        const QString field = QString::fromUtf8(name);
        const bool date = field.endsWith(s("Date"));
        const QString value = date ? s("2026-05-0%1").arg(fields.size() % 9 + 1)
                              : field == s("Personal_Sex") ? s("True") : s("Иван ") + field;
        if (field != s("ID"))
            fields.append({name.constData(), value});
        if (!hidden.contains(field))
            expected.append(date ? DateText(QDate::fromString(value, Qt::ISODate)) : value);
    }
    addContact(fields);
    Forms::Unload<frmReports>();
    choose(2);
    const QStringList shown = cells(build());
    ASSERT_EQ(shown.size(), 60);
    EXPECT_EQ(shown.mid(30), expected);
}

TEST_F(Reports, AnEmptyTableOrAFailedWriteLeavesNoFileAndOpensNothing)
{
    struct Case {
        bool rows;
        bool writeFails;
        const char* message;
    };
    for (const Case& c : {Case{false, false, "mes293"}, Case{true, true, "mes373"}}) {
        MsgBoxScript::Clear();
        if (c.rows)
            addTask(s("2026-12-01"), s("Call"), false);
        FileSystem::SetAtomicWriteFailsBeforeRename(c.writeFails);
        Forms::Unload<frmReports>();
        choose(1);
        EXPECT_TRUE(build().isEmpty());
        FileSystem::SetAtomicWriteFailsBeforeRename(false);
        ASSERT_EQ(messages().size(), 1);
        EXPECT_TRUE(messages()[0].startsWith(GetLangText(s(c.message)))) << c.message;
        EXPECT_EQ(MsgBoxScript::Log()[0].buttons, 48);
        EXPECT_FALSE(QFile::exists(ReportFilePath()));
        EXPECT_TRUE(opened().isEmpty());
        EXPECT_TRUE(wizard().OnSecondPage());
    }
}

TEST_F(Reports, TheReportListsEveryRowWhileTheSharedViewKeepsItsFilterSortAndRow)
{
    for (const char* title : {"Delta", "Alpha", "Charlie", "Bravo"})
        addEvent(s("Work"), s(title), QDate(2026, 12, 18));
    addEvent(s("Home"), s("Echo"), QDate(2026, 12, 18));
    Recordset& shared = DataEnvironment1().rsCommand3;
    OpenIfClosed(shared);
    ASSERT_TRUE(shared.SetSort(s("Step_Name")).Ok());
    ASSERT_TRUE(shared.SetFilter(s("Measure_Name = 'Work'")).Ok());
    ASSERT_TRUE(shared.MoveLast().Ok());
    const qint64 current = shared.CurrentId();
    choose(0, {1});
    EXPECT_EQ(cells(build()).mid(1), (QStringList{s("Alpha"), s("Bravo"), s("Charlie"), s("Delta"), s("Echo")}));
    EXPECT_EQ(shared.State(), 1);
    EXPECT_EQ(shared.Filter(), s("Measure_Name = 'Work'"));
    EXPECT_EQ(shared.Sort(), s("Step_Name"));
    EXPECT_EQ(shared.RecordCount(), 4);
    EXPECT_EQ(shared.CurrentId(), current);
}

TEST_F(Reports, FortyThousandTasksAreAllOnThePage)
{
    ASSERT_TRUE(tasks().BeginTrans().Ok());
    for (int i = 0; i < 40000; ++i)
        addTask(s("2026-12-01"), QString::number(i), i % 2 == 0);
    ASSERT_TRUE(tasks().CommitTrans().Ok());
    choose(1, {1});
    // A page this long is built between the window's events: Exit drops it unwritten.
    QFile::remove(ReportFilePath());
    wizard().cmdNext->click();
    const QPointer<frmReports> closed(&wizard());
    ASSERT_TRUE(closed->Building());
    EXPECT_FALSE(closed->cmdNext->isEnabled());
    closed->cmdExit->click();
    EXPECT_TRUE(!closed || !closed->Building());
    QCoreApplication::processEvents();
    EXPECT_FALSE(QFile::exists(ReportFilePath()));
    EXPECT_TRUE(opened().isEmpty());

    choose(1, {1});
    const QByteArray page = build();
    EXPECT_EQ(page.count("<tr>"), 40001);
    EXPECT_TRUE(page.contains(cell(true, s("0")) + "</tr><tr>" + cell(false, s("1")) + "</tr>"));
    EXPECT_TRUE(page.contains(cell(false, s("39999")) + "</tr></table>"));
    EXPECT_EQ(opened().size(), 1);
}

}  // namespace
