// Pictures of the task list with a few tasks at the smallest and the largest row
// height, and of both pages of its settings, in English and in Russian, written to
// <build>/tests/screens/ for a person to look at; and the check that every caption
// fits its control.

#include "test_screens.h"
#include "test_tasks_fixture.h"

#include "core/BusSettings.h"

#include <QHeaderView>
#include <QTabWidget>

namespace {

class TaskScreens : public TaskListTest, public ::testing::WithParamInterface<const char*> {
protected:
    QString Language() const override { return s(GetParam()); }

    void check(QWidget& window, const char* name) const
    {
        SaveScreen(window, s(name) + s("-") + Language());
        CheckCaptionsFit(window, name);
    }
};

TEST_P(TaskScreens, TaskListAndItsSettings)
{
    addTask(QDate(2026, 12, 8), s("Renew the car insurance"), true);
    addTask(QDate(2026, 12, 10), s("Call the plumber about the kitchen tap"));
    addTask(QDate(2026, 12, 11), s("Status lost"), QVariant());
    addTask(QDate(2026, 12, 15),
            s("Prepare the slides for the annual meeting with the board, collect the figures from every "
              "department and send the draft to Anna and Peter before Friday"));
    for (const char* height : {"1", "3"}) {
        ASSERT_TRUE(WriteOption(BusSettingsSection, s("rowheight"), s(height)));
        frmBus& tasks = open();
        EXPECT_EQ(tasks.DataGrid1->verticalHeader()->defaultSectionSize(), s(height) == s("1") ? 16 : 48);
        check(tasks, height == std::string("1") ? "tasks-rows1" : "tasks-rows3");
        Forms::Unload(&tasks);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    frmBusAdd& settings = Forms::Get<frmBusAdd>();
    settings.show();
    check(settings, "tasksettings-general");
    settings.tbsOptions->setCurrentIndex(1);
    check(settings, "tasksettings-texts");
}

INSTANTIATE_TEST_SUITE_P(Languages, TaskScreens, ::testing::Values("English", "Russian"));

}  // namespace
