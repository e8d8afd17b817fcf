#include "frmPhones.h"

#include "ContactGridModel.h"
#include "ContactRecord.h"
#include "core/SourceText.h"
#include "frmCntAdd.h"
#include "frmCntSearch.h"
#include "frmCntTable.h"
#include "frmGroupes.h"
#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/Fatal.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/Toolbar.h"
#include "core/WindowHelpers.h"
#include "core/frmProcess.h"
#include "mainwin/frmMain.h"
#include "platform/Controls.h"
#include "platform/MsgBox.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QTableView>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace {

constexpr int WindowWidth = 12000;
constexpr int WindowHeight = 7500;

constexpr ToolbarEntry ToolbarEntries[] = {
    {2, "mnu10", "back"},    {4, "mnu15", "add"},     {6, "mnu11", "delete"},   {8, "mnu20", "contact"},
    {10, "mnu21", "search"}, {12, "mnu22", "contactgroups"}, {14, "mnu12", "options"},
};
constexpr int ToolbarButtonCount = 14;

// The headings a click sorts by, ascending: names, phones, birthday and e-mail.
constexpr int SortableColumns[] = {1, 2, 4, 5, 7, 18};

int columnWidth(int column)
{
    switch (column) {
    case 1:
    case 3:
        return 1800;
    case 2:
    case 13:
    case 25:
        return 2100;
    case 7:
    case 31:
        return 1500;
    case 18:
    case 19:
    case 20:
        return 2400;
    default:
        return 1800;
    }
}

Recordset& contacts() { return DataEnvironment1().rstbl_Phones; }

}  // namespace

frmPhones::frmPhones()
    : Form(s("frmPhones"), MainWindow)
{
    setFixedSize(Px(WindowWidth), Px(WindowHeight));
    buildToolbar();
    LabelFilter = MakeControl<QLabel>(this, "LabelFilter", 120, 1230, 7920, 420);
    LabelFilter->setTextFormat(Qt::PlainText);
    QFont font = LabelFilter->font();
    font.setBold(true);
    LabelFilter->setFont(font);
    Combo1 = MakeControl<QComboBox>(this, "Combo1", 8280, 1275, 3600, 330);
    // Code that selects an entry runs the filter through the index change; a click
    // runs it through the activation, also on the entry already chosen. A click that
    // changes the entry brings both: its activation finds the filter applied.
    connect(Combo1, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        ReapplyGroupFilter();
        choiceApplied_ = true;
    });
    connect(Combo1, &QComboBox::activated, this, [this] {
        if (!choiceApplied_)
            ReapplyGroupFilter();
        choiceApplied_ = false;
    });
    Combo1->installEventFilter(this);
    DataGrid1 = MakeControl<QTableView>(this, "DataGrid1", 120, 1800, 11760, 5580);
    SetupDataGrid(DataGrid1);
    DataGrid1->installEventFilter(this);
    connect(DataGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this, &frmPhones::DataGrid1_HeadClick);
}

// The grid's editors are destroyed after this window's own part: a row they store
// then must not reach this window's handlers.
frmPhones::~frmPhones()
{
    if (GridModel)
        GridModel->disconnect(this);
}

void frmPhones::buildToolbar()
{
    Toolbar1 = BuildToolbar(this, WindowWidth, ToolbarEntries, ToolbarButtonCount, 3,
                            [this](int index) { Toolbar1_ButtonClick(index); }, &toolbarButtons_);
    SetToolbarPictures(toolbarButtons_, ToolbarEntries);
}

QAction* frmPhones::ToolbarButton(int index) const { return ToolbarButtonAt(toolbarButtons_, index); }

void frmPhones::Form_Load()
{
    SetFormIcon(this, s("RES_0"), true);
    SetToolbarFont(this, Toolbar1);
    HookGrid(DataGrid1);
    frmMain::TakeHandedPosition(*this);
    bindGrid();
    QPointer<frmPhones> self(this);
    FillGroupCombo(Combo1);
    Forms::DoEvents();
    if (!self)
        return;
    SelectEntry(Combo1, 0);
    ApplyLanguage();
    const QList<int> columns = ChoosableGridColumns();
    const QList<bool> shown = ReadColumnChoice();
    for (int i = 0; i < columns.size(); ++i)
        SetColumnShown(columns[i], shown[i]);
}

void frmPhones::bindGrid()
{
    Recordset& rs = contacts();
    OpenIfClosed(rs);
    GridModel = new ContactGridModel(rs, this);
    for (int column = 0; column < Contact::FieldCount; ++column)
        GridModel->SetEditable(column, !GridColumnNeverShown(column));
    DataGrid1->setModel(GridModel);
    for (int column = 0; column < Contact::FieldCount; ++column)
        DataGrid1->setColumnHidden(column, GridColumnNeverShown(column));
    // The grid's current row is the recordset's current row, both ways.
    connect(DataGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    GridModel->SetCurrentRow(current.row());
            });
    connect(GridModel, &BoundGridModel::CurrentRowChanged, this, &frmPhones::showCurrentRow);
    connect(GridModel, &QAbstractItemModel::modelReset, this, &frmPhones::showCurrentRow);
    // The messages wait until the grid has finished with its editor.
    connect(GridModel, &ContactGridModel::Refused, this, &frmPhones::report, Qt::QueuedConnection);
    connect(GridModel, &BoundGridModel::WriteFailed, this, [this] { report(s("mes340")); }, Qt::QueuedConnection);
}

// The recordset's current row is the grid's: highlighted and in view.
void frmPhones::showCurrentRow()
{
    const int row = GridModel->CurrentRow();
    if (row < 0)
        return;
    const QModelIndex index = GridModel->index(row, std::max(DataGrid1->currentIndex().column(), 1));
    if (DataGrid1->currentIndex().row() != row || !DataGrid1->selectionModel()->isRowSelected(row, {}))
        DataGrid1->setCurrentIndex(index);
    // After a reset the grid lays out its rows and scroll bars later: the row is
    // scrolled to once they stand.
    QTimer::singleShot(0, DataGrid1, [grid = DataGrid1] { grid->scrollTo(grid->currentIndex()); });
}

bool frmPhones::takeHighlightedRow()
{
    const QModelIndex index = DataGrid1->currentIndex();
    if (!index.isValid() || !DataGrid1->selectionModel()->isRowSelected(index.row(), {}))
        return false;
    GridModel->SetCurrentRow(index.row());
    return GridModel->CurrentRow() == index.row();
}

void frmPhones::report(const QString& messageKey) { MsgBox(GetLangText(messageKey), 48, ProductName()); }

void frmPhones::ApplyLanguage()
{
    setWindowTitle(s("Tessaryn v.") + Forms::Get<frmProcess>().ProgramVersion + s(" - [") + GetLangText(s("mes226"))
                   + s("]"));
    SetToolbarCaptions(Toolbar1, toolbarButtons_, ToolbarEntries);
    // A column is wide enough for its heading, in the bold of the current row's heading.
    QFont bold = DataGrid1->horizontalHeader()->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    for (int column = 0; column < Contact::FieldCount; ++column) {
        const char* key = GridCaptionKey(column);
        if (key)
            GridModel->SetHeader(column, GetLangText(s(key)));
        const int heading = metrics.horizontalAdvance(GridModel->headerData(column, Qt::Horizontal).toString());
        DataGrid1->setColumnWidth(column, std::max(Px(columnWidth(column)), heading + 20));
    }
}

void frmPhones::SetColumnShown(int gridColumn, bool shown)
{
    if (!GridColumnNeverShown(gridColumn) && gridColumn != 1)
        DataGrid1->setColumnHidden(gridColumn, !shown);
}

void frmPhones::Form_Activate()
{
    // A closing phone book is loading the main window again: an activation met while
    // that load pumps events must not unload it under its own load routine.
    if (!closing_)
        Forms::Unload<frmMain>();
}

bool frmPhones::Form_QueryUnload(UnloadMode mode)
{
    closing_ = true;
    std::ignore = CloseIfOpen(DataEnvironment1().rsCommand1);  // only read here
    // Cell edits and the card's saves are stored as they are made: an edit still
    // pending here could not be.
    const DbResult closed = CloseIfOpen(contacts());
    if (!closed.Ok()) {
        LogDbFailure(s("phone book"), closed);
        report(s("mes340"));
    }
    Forms::Unload<frmCntSearch>();
    UnhookGrid(DataGrid1);
    if (mode != UnloadMode::ControlMenu)
        frmMain::ReturnFrom(*this);
    return false;
}

void frmPhones::ReapplyGroupFilter()
{
    Recordset& rs = contacts();
    if (rs.State() == 0)
        return;
    const int entry = Combo1->currentIndex();
    const QString filter = entry <= 0  ? AllContactsFilter()
                           : entry == 1 ? GroupFilter(Forms::Get<frmProcess>().GeneralGroupName)
                                        : GroupFilter(Combo1->currentText());
    // The name is quoted and edits are stored as they are made: the filter has
    // nothing to fail on.
    std::ignore = rs.SetFilter(filter);
    LabelFilter->clear();
}

void frmPhones::DataGrid1_HeadClick(int column)
{
    // Columns of the table, and edits are stored as they are made: the sort has
    // nothing to fail on.
    if (std::find(std::begin(SortableColumns), std::end(SortableColumns), column) != std::end(SortableColumns))
        std::ignore = contacts().SetSort(Contact::FieldName(GridColumnField(column)));
}

void frmPhones::Toolbar1_ButtonClick(int index)
{
    switch (index) {
    case 2:
        Forms::Unload(this);
        break;
    case 4:
        Forms::Get<frmCntAdd>().ShowModal(this);
        break;
    case 6:
        DeleteContact();
        break;
    case 8:
        ViewContact();
        break;
    case 10:
        Forms::Get<frmCntSearch>().ShowModeless(this);
        break;
    case 12:
        Forms::Get<frmGroupes>().ShowModal(this);
        break;
    case 14:
        Forms::Get<frmCntTable>().ShowModal(this);
        break;
    default:
        break;
    }
}

void frmPhones::DeleteContact()
{
    if (contacts().RecordCount() == 0 || !takeHighlightedRow()) {
        report(s("mes231"));
        return;
    }
    DataGrid1->setEnabled(false);
    deleteCurrent();
    DataGrid1->setEnabled(true);
}

void frmPhones::DeleteWithQuestion()
{
    if (contacts().RecordCount() == 0 || !takeHighlightedRow())
        return;
    if (MsgBox(GetLangText(s("mes230")), 4 + 32, ProductName()) == vbYes)
        deleteCurrent();
}

void frmPhones::deleteCurrent()
{
    Recordset& rs = contacts();
    const DbResult deleted = rs.Delete();
    if (!deleted.Ok()) {
        LogDbFailure(s("phone book"), deleted);
        report(s("mes341"));
        return;
    }
    // The grid goes on with the row that took the deleted one's place; an empty view
    // has none to stand on.
    if (!rs.MoveNext().Ok() || rs.Eof())
        std::ignore = rs.MoveLast();
}

bool frmPhones::eventFilter(QObject* watched, QEvent* event)
{
    // A choice by the user starts with a press, a key or the wheel on the list: an
    // entry applied by code before it is not that choice's.
    const QEvent::Type type = event->type();
    if (watched == Combo1
        && (type == QEvent::MouseButtonPress || type == QEvent::KeyPress || type == QEvent::Wheel))
        choiceApplied_ = false;
    if (watched == DataGrid1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // A cell being edited takes its Delete key itself.
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            DeleteWithQuestion();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}
