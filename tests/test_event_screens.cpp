// Pictures of the event editor (each tab, and as a quick reminder), the planner
// with a few events, the two choosers, the contact-date reminder and the reminder
// options, in English and in Russian, each with the check that its captions fit.

#include "test_event_fixture.h"
#include "test_screens.h"

#include "events/frmCaseMsr.h"
#include "events/frmMesSelect.h"
#include "events/frmOptions.h"
#include "events/frmSetSelect.h"
#include "platform/DateField.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimeEdit>

namespace {

class EventScreens : public EventWindowTest, public ::testing::WithParamInterface<const char*> {
protected:
    QString Language() const override { return s(GetParam()); }

    void save(QWidget& window, const char* name) const { SaveScreen(window, s(name) + s("-") + Language()); }
    static void captionsFit(QWidget& window, const char* name) { CheckCaptionsFit(window, name); }
};

TEST_P(EventScreens, EventEditor)
{
    main();
    addCategory(s("Work"));
    frmMesAdd& editor = Forms::Get<frmMesAdd>();
    editor.SetCategory(s("Work"), s("Work"));
    editor.Text1->setText(s("Quarterly report"));
    editor.DTPicker1->setDate(QDate(2026, 12, 18));
    editor.Check1->setChecked(true);
    editor.DTPicker2->setTime(QTime(16, 0));
    editor.Text3->setPlainText(s("Slides for the board, room 4"));
    editor.Option2->setChecked(true);
    editor.Combo1->setCurrentIndex(3);
    editor.Check2->setChecked(true);
    editor.Check3->setChecked(true);
    editor.Combo2->setCurrentIndex(4);
    editor.Combo3->setCurrentIndex(2);
    editor.Text2->setText(s("2"));
    editor.show();
    const char* const names[] = {"editor-date", "editor-reminder", "editor-repeat"};
    for (int tab = 0; tab < 3; ++tab) {
        editor.tbsOptions->setCurrentIndex(tab);
        save(editor, names[tab]);
        captionsFit(editor, names[tab]);
    }
    Forms::Unload(&editor);
}

TEST_P(EventScreens, QuickReminderAndChoosers)
{
    main().ShowModeless();
    whenShown<frmMesSelect>([this](frmMesSelect& chooser) {
        save(chooser, "chooser-event");
        captionsFit(chooser, "chooser-event");
        chooser.cmdOK->click();
    });
    whenShown<frmMesAdd>([this](frmMesAdd& editor) {
        editor.Text1->setText(s("Call the garage"));
        save(editor, "editor-quick");
        captionsFit(editor, "editor-quick");
        editor.Command1->click();
    });
    main().ToolbarButton(2)->trigger();

    selectCategory(GetOwnText(s("evn1")));
    main().ListView1_DblClick();
    whenShown<frmSetSelect>([this](frmSetSelect& chooser) {
        save(chooser, "chooser-settings");
        captionsFit(chooser, "chooser-settings");
        chooser.cmdCancel->click();
    });
    Forms::Get<frmOrg>().Toolbar1_ButtonClick(10);

    frmCaseMsr& anniversary = Forms::Get<frmCaseMsr>();
    anniversary.show();
    save(anniversary, "casemsr");
    captionsFit(anniversary, "casemsr");
}

TEST_P(EventScreens, Planner)
{
    addCategory(s("Work"));
    addEvent(s("Work"), s("Quarterly report"), QDate(2026, 12, 18), s("15:00"));
    addEvent(s("Work"), s("Quarterly report"), QDate(2026, 12, 18), s("16:00"));
    addEvent(s("Work"), s("Team lunch"), QDate(2026, 12, 22), s("12:30"));
    addEvent(s("Work"), s("Pay the invoices"), QDate(2026, 12, 31));
    ASSERT_TRUE(db().Execute(s("UPDATE lst_Dates SET Step_Notes = 'Slides for the board' WHERE Step_Time = '16:00'"))
                    .Ok());
    main().ShowModeless();
    selectCategory(s("Work"));
    main().ListView1_DblClick();
    frmOrg& planner = Forms::Get<frmOrg>();
    save(planner, "planner");
    captionsFit(planner, "planner");
    EXPECT_EQ(planner.GridModel->rowCount(), 4);
    for (int column : {1, 2, 3, 4})
        EXPECT_FALSE(planner.DataGrid1->isColumnHidden(column)) << column;
    for (int column : {0, 5, 6})
        EXPECT_TRUE(planner.DataGrid1->isColumnHidden(column)) << column;
}

TEST_P(EventScreens, ReminderOptions)
{
    frmOptions& options = Forms::Get<frmOptions>();
    options.show();
    const char* const names[] = {"options-general", "options-look"};
    for (int tab = 0; tab < 2; ++tab) {
        options.tbsOptions->setCurrentIndex(tab);
        save(options, names[tab]);
        captionsFit(options, names[tab]);
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, EventScreens, ::testing::Values("English", "Russian"));

}  // namespace
