#pragma once

#include "platform/Form.h"

#include <QList>

class PlannerGridModel;
class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QTableView;
class QToolBar;

// The planner: the full-window view of the pending events of one category, in a
// grid bound to rsCommand3 whose cells are edited in place, with a toolbar to go
// back, add, delete and edit an event and to open the reminder settings. It takes
// the main window's place while it is open.
class frmOrg : public Form {
    Q_OBJECT
public:
    frmOrg();
    ~frmOrg() override;

    void Form_Load() override;
    void Form_Activate() override;
    bool Form_QueryUnload(UnloadMode mode) override;
    void ApplyLanguage();

    // Fills the category chooser with the rows of the main window's category list,
    // in its order (their shown names, and the stored names they keep); runs no
    // handler.
    void FillCategories(const QListWidget* categoryList);
    // Chooses a category by its position in the chooser, which filters the grid.
    void SelectCategory(int index);
    // The stored name of the chosen category.
    QString ChosenStoredName() const;

    void Combo1_Click();
    void DataGrid1_HeadClick(int column);
    // Buttons by their index from 1; the commands sit at 2, 4, 6, 8 and 10.
    void Toolbar1_ButtonClick(int index);
    QAction* ToolbarButton(int index) const;
    void DeleteEvent();
    void EditEvent();

    QToolBar* Toolbar1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* Combo1 = nullptr;
    QTableView* DataGrid1 = nullptr;
    PlannerGridModel* GridModel = nullptr;

private:
    void buildToolbar();
    void bindGrid();
    void showCurrentRow();
    void reportRefusal(const QString& messageKey);
    void reopenDate(int row, int column, const QString& typed);

    QList<QAction*> toolbarButtons_;  // index - 1; gaps have no action
    // Set while the window closes: it then brings the main window back instead.
    bool closing_ = false;
};
