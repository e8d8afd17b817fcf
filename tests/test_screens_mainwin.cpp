// Pictures of the main window with a few categories and events, with none, and with
// a long title, and of the category editor, in English and in Russian; with the
// check that the main window's captions fit.

#include "test_mainwin_fixture.h"
#include "test_screens.h"

#include "mainwin/frmIconAdd.h"
#include "platform/FileDialog.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

class Screens : public MainWindowTest, public ::testing::WithParamInterface<const char*> {
protected:
    QString Language() const override { return s(GetParam()); }

    void save(QWidget& window, const QString& name) const { SaveScreen(window, name + s("-") + Language()); }
};

TEST_P(Screens, MainWindow)
{
    addCategory(s("Work"), "Work");
    addCategory(s("Sport"), "Sport");
    addCategory(s("Travel"), "Travel");
    addEvent(s("Work"), s("Quarterly report"), QDate(2026, 12, 10), s("16:00"));
    addEvent(s("Birthdays"), s("Anna"), QDate(2026, 12, 10));
    addEvent(s("Sport"), s("Swimming"), QDate(2026, 12, 28), s("07:30"));
    addEvent(s("_QM_"), s("Call the garage"), QDate(2026, 12, 3), s("09:00"));
    main().ShowModeless();
    pump(300);

    save(main(), s("mainwin"));

    // What the picture must show, checked where a widget can tell.
    for (int cell = 0; cell < DayCellCount; ++cell) {
        QLabel* day = main().TextDay[cell];
        if (day->isVisible()) {
            EXPECT_LE(day->fontMetrics().horizontalAdvance(day->text()), day->width()) << cell;
        }
    }
    EXPECT_EQ(main().ListView1->count(), 6);
    EXPECT_FALSE(main().Image4->pixmap().isNull());
    CheckCaptionsFit(main(), "mainwin");
}

TEST_P(Screens, MainWindowWithNothingPlanned)
{
    main().ShowModeless();
    pump(300);
    save(main(), s("mainwin-empty"));
    EXPECT_EQ(main().Label1->text(), GetLangText(s("mes240")));
    CheckCaptionsFit(main(), "mainwin-empty");
}

TEST_P(Screens, ALongTitleBreaksBetweenWordsAndEndsInAnEllipsis)
{
    const QString title = s("Quarterly report for the supervisory board with appendices, budget tables, "
                            "the annual forecast and Donaudampfschifffahrtsgesellschaftskapitän");
    addEvent(s("_QM_"), title, QDate(2026, 12, 11), s("09:00"));
    main().ShowModeless();
    pump(300);
    save(main(), s("mainwin-longtitle"));
    QLabel* shown = main().Label19;
    EXPECT_TRUE(IsTextCut(shown));
    EXPECT_EQ(shown->toolTip(), title);
    const QStringList words = title.split(QLatin1Char(' '));
    const QStringList lines = FittedLines(shown);
    for (const QString& line : lines) {
        const QString whole = line.endsWith(QChar(0x2026)) ? line.section(QLatin1Char(' '), 0, -2) : line;
        for (const QString& word : whole.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            EXPECT_TRUE(words.contains(word)) << line.toStdString();
    }
}

TEST_P(Screens, CategoryEditor)
{
    main();
    frmIconAdd& editor = Forms::Get<frmIconAdd>();
    editor.Text1->setText(s("Garden"));
    FileDialog::PushResult(ProgramIcon("Home"));
    editor.Command3_Click();
    editor.Option2->setChecked(true);
    editor.Combo1->setCurrentIndex(4);
    editor.Text2->setText(s("45"));
    editor.show();
    pump(100);
    save(editor, s("categoryeditor-name"));
    editor.tbsOptions->setCurrentIndex(1);
    pump(100);
    save(editor, s("categoryeditor-repeat"));
    EXPECT_TRUE(editor.Command0->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Languages, Screens, ::testing::Values("English", "Russian"));

}  // namespace
