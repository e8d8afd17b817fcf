// The tray under a question: while a message box is open over the main window or a
// full-window view, the tray menu gives way to the box, and the window the box
// returns into is not unloaded under it.

#include "test_phonebook_fixture.h"

#include "core/Fatal.h"
#include "tools/frmBus.h"
#include "tools/frmNote.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QMessageBox>

namespace {

class TrayUnderQuestion : public PhoneBookTest {};

void pressDelete(QTableView* grid)
{
    grid->selectRow(0);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(grid, &key);
}

}  // namespace

TEST_F(TrayUnderQuestion, OpenWaitsUntilTheQuestionIsAnswered)
{
    addContact(s("Ann"));
    Connection& tasks = DataEnvironment1().Connection3;
    OpenIfClosed(tasks);
    ASSERT_TRUE(tasks.Execute(s("INSERT INTO tbl_Business (bsn_Date, bsn_Text, bsn_Status) "
                              "VALUES ('2026-12-11', 'Call Ann', 0)"))
                    .Ok());
    const auto question = [] { MsgBox(s("Go on?"), 4 + 32, ProductName()); };
    const struct {
        const char* name;
        std::function<void()> open;
        std::function<void()> ask;
    } views[] = {
        {"frmMain", [] { main().ShowModeless(); }, question},
        {"frmOrg", [] { main().ShowModeless(); selectCategory(GetOwnText(s("evn1"))); main().ListView1_DblClick(); },
         question},
        {"frmPhones", [] { main().ShowModeless(); main().ToolbarButton(6)->trigger(); },
         [] { pressDelete(phones().DataGrid1); }},
        {"frmBus", [] { main().ShowModeless(); main().ToolbarButton(4)->trigger(); },
         [] { pressDelete(Forms::Get<frmBus>().DataGrid1); }},
        {"frmNote", [] { main().ShowModeless(); main().ToolbarButton(8)->trigger(); }, question},
    };
    MsgBoxScript::SetAutomatic(false);
    for (const auto& view : views) {
        SCOPED_TRACE(view.name);
        view.open();
        QPointer<Form> window;
        for (Form* form : Forms::Loaded())
            if (form->objectName() == s(view.name))
                window = form;
        ASSERT_TRUE(window && window->isVisible());
        QApplication::setActiveWindow(window);
        QCoreApplication::processEvents();
        ASSERT_EQ(Forms::ActiveForm(), window.data());

        bool menuShown = true;
        bool windowStayed = false;
        whenModal([&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            menuShown = process().TrayMenuMayShow();
            // Were the menu shown all the same, its Open would unload every window.
            process().mOpen_Click();
            QTimer::singleShot(50, box, [&, box] {
                windowStayed = window && !window->IsUnloading();
                box->button(QMessageBox::No)->click();
            });
        });
        view.ask();
        EXPECT_FALSE(menuShown);
        EXPECT_TRUE(windowStayed);
        ASSERT_TRUE(window);
        // Answered, the menu is back and Open does its work.
        EXPECT_TRUE(process().TrayMenuMayShow());
        process().mOpen_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(Forms::IsLoaded<frmMain>());
    }
    // Every question was answered No.
    EXPECT_EQ(phoneRows("SELECT count(*) FROM tbl_Phones").value(0).value(0).toInt(), 1);
    QList<QVariantList> left;
    EXPECT_TRUE(tasks.Query(s("SELECT count(*) FROM tbl_Business"), {}, &left).Ok());
    EXPECT_EQ(left.value(0).value(0).toInt(), 1);
}
