#pragma once

#include "platform/Form.h"

#include <QList>

class BoundGridModel;
class QAction;
class DateField;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolBar;
class Recordset;

// The shared task recordset the task list is bound to.
Recordset& TaskRecords();

// The task list: the full-window view of every task in a grid bound to
// rstbl_Business, an entry row for a new task (text, date, Add) and a toolbar to go
// back, delete, open the settings and mark the selected task done or not done. It
// takes the main window's place while it is open.
class frmBus : public Form {
    Q_OBJECT
public:
    frmBus();
    ~frmBus() override;

    void Form_Load() override;
    void Form_Activate() override;
    bool Form_QueryUnload(UnloadMode mode) override;
    void ApplyLanguage();
    // The status column shows the own texts "txtdone" and "txtwait" ("Error" for none).
    void ApplyStatusFormat();
    // The grid's row height from "rowheight".
    void ApplyRowHeight();

    void AddTask();
    void SetTaskStatus(bool done);
    void DeleteTask();
    // The Delete key in the grid: asks first.
    void DataGrid1_KeyDelete();
    void DataGrid1_HeadClick(int column);
    // Buttons by their index from 1; the commands sit at 2, 4, 6, 8 and 10.
    void Toolbar1_ButtonClick(int index);
    QAction* ToolbarButton(int index) const;

    QToolBar* Toolbar1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label3 = nullptr;
    DateField* DTPicker1 = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* Label4 = nullptr;
    QTableView* DataGrid1 = nullptr;
    BoundGridModel* GridModel = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void bindGrid();
    void showCurrentRow();
    // The columns' widths, the task column taking the room the others leave.
    void layOutColumns();
    // Deletes the current task; the one that takes its place becomes current.
    void deleteCurrentTask();

    QList<QAction*> toolbarButtons_;  // index - 1; gaps have no action
    // Set while the window closes: it then brings the main window back instead.
    bool closing_ = false;
};
