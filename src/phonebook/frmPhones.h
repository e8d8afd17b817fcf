#pragma once

#include "platform/Form.h"

#include <QList>

class ContactGridModel;
class QAction;
class QComboBox;
class QLabel;
class QTableView;
class QToolBar;

// The phone book: the full-window view of the contacts in a grid bound to the shared
// rstbl_Phones, narrowed to one group by the group list, with a toolbar to go back,
// add, delete and view a contact and to open the search, the group manager and the
// column chooser. It takes the main window's place while it is open.
class frmPhones : public Form {
    Q_OBJECT
public:
    frmPhones();
    ~frmPhones() override;

    void Form_Load() override;
    void Form_Activate() override;
    bool Form_QueryUnload(UnloadMode mode) override;
    void ApplyLanguage();

    // Puts the filter of the group list's chosen entry on rstbl_Phones (all contacts,
    // the general group, or the group of that name) and empties LabelFilter. Every
    // choice of an entry runs it, also of the entry already chosen; the contact card
    // and the address-book import run it when they end.
    void ReapplyGroupFilter();
    void DataGrid1_HeadClick(int column);
    // Buttons by their index from 1; the commands sit at 2, 4, ... 14.
    void Toolbar1_ButtonClick(int index);
    QAction* ToolbarButton(int index) const;
    void DeleteContact();
    // The highlighted contact into the contact card, shown modal in its edit mode.
    void ViewContact();
    // The grid's Delete key: the highlighted contact after a question.
    void DeleteWithQuestion();

    // The grid's visibility of a column by its grid number.
    void SetColumnShown(int gridColumn, bool shown);

    QToolBar* Toolbar1 = nullptr;
    QLabel* LabelFilter = nullptr;
    QComboBox* Combo1 = nullptr;
    QTableView* DataGrid1 = nullptr;
    ContactGridModel* GridModel = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolbar();
    void bindGrid();
    void showCurrentRow();
    // Makes the row the grid highlights the recordset's current row; false when the
    // grid highlights none.
    bool takeHighlightedRow();
    void deleteCurrent();
    void report(const QString& messageKey);

    QList<QAction*> toolbarButtons_;  // index - 1; gaps have no action
    // Set once an entry's filter is applied through the index change: the activation
    // that follows within the same choice then has nothing left to do. The user's next
    // press, key or wheel on the list clears it.
    bool choiceApplied_ = false;
    // Set while the window closes: it then brings the main window back instead.
    bool closing_ = false;
};
