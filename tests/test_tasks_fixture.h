#pragma once

// Shared set-up of the task-list tests: tasks written straight into the task
// database, read back through a connection of their own, the task list opened from
// the main window as its toolbar does, and what its grid shows.

#include "test_event_fixture.h"

#include "platform/BoundGridModel.h"
#include "tools/frmBus.h"
#include "tools/frmBusAdd.h"

#include <QAction>
#include <QTableView>

class TaskListTest : public EventWindowTest {
protected:
    struct Task {
        qint64 id = 0;
        QVariant date;  // the stored text
        QVariant text;
        QVariant status;
    };

    static Connection& tasksDb()
    {
        Connection& connection = DataEnvironment1().Connection3;
        OpenIfClosed(connection);
        return connection;
    }

    // Values are stored as given: a QDate as its ISO text, a QVariant() as NULL.
    static qint64 addTask(const QVariant& date, const QVariant& text, const QVariant& status = false)
    {
        const QVariant stored =
            date.typeId() == QMetaType::QDate ? QVariant(date.toDate().toString(Qt::ISODate)) : date;
        EXPECT_TRUE(tasksDb()
                        .Execute(s("INSERT INTO tbl_Business (bsn_Date, bsn_Text, bsn_Status) VALUES (?, ?, ?)"),
                                 {stored, text, status})
                        .Ok());
        QList<QVariantList> rows;
        EXPECT_TRUE(tasksDb().Query(s("SELECT max(bsn_ID) FROM tbl_Business"), {}, &rows).Ok());
        return rows.value(0).value(0).toLongLong();
    }

    // The file as another program sees it, whatever the window holds in memory.
    static QList<Task> storedTasks()
    {
        Connection other;
        EXPECT_TRUE(other.Open(DataEnvironment1().Connection3.Path(), s("qk_lam")).Ok());
        QList<QVariantList> rows;
        EXPECT_TRUE(
            other.Query(s("SELECT bsn_ID, bsn_Date, bsn_Text, bsn_Status FROM tbl_Business ORDER BY bsn_ID"), {}, &rows)
                .Ok());
        QList<Task> tasks;
        for (const QVariantList& row : rows)
            tasks.append({row[0].toLongLong(), row[1], row[2], row[3]});
        return tasks;
    }

    static QVariant storedStatus(qint64 id)
    {
        for (const Task& task : storedTasks())
            if (task.id == id)
                return task.status;
        return s("<gone>");
    }

    // A trigger that makes the database refuse every "INSERT", "UPDATE" or "DELETE".
    static void refuse(const char* statement)
    {
        ASSERT_TRUE(tasksDb()
                        .Execute(s("CREATE TRIGGER refuse_%1 BEFORE %1 ON tbl_Business BEGIN SELECT RAISE(ABORT, "
                                   "'refused by the test'); END")
                                     .arg(s(statement)))
                        .Ok());
    }

    // Opens the task list as the main window's toolbar button does.
    frmBus& open()
    {
        main().ShowModeless();
        main().Move(1500, 900);
        main().ToolbarButton(4)->trigger();
        return Forms::Get<frmBus>();
    }

    static frmBus& list() { return Forms::Get<frmBus>(); }

    static QString cell(int row, int column)
    {
        return list().GridModel->index(row, column).data().toString();
    }

    // The shown rows, each as "date|text|status".
    static QStringList shown()
    {
        QStringList rows;
        for (int row = 0; row < list().GridModel->rowCount(); ++row)
            rows.append(cell(row, 0) + s("|") + cell(row, 1) + s("|") + cell(row, 2));
        return rows;
    }

    static qint64 idAt(int row) { return list().GridModel->index(row, 3).data().toLongLong(); }

    // The id of the row the grid shows selected (0 for none); it is always the
    // recordset's current row.
    static qint64 selectedId()
    {
        const QModelIndexList rows = list().DataGrid1->selectionModel()->selectedRows();
        const qint64 id = rows.size() == 1 ? idAt(rows.first().row()) : 0;
        EXPECT_EQ(id, DataEnvironment1().rstbl_Business.CurrentId());
        return id;
    }

    static void select(qint64 id)
    {
        for (int row = 0; row < list().GridModel->rowCount(); ++row)
            if (idAt(row) == id)
                list().DataGrid1->selectRow(row);
        ASSERT_EQ(selectedId(), id);
    }
};
