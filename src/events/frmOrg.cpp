#include "frmOrg.h"

#include "PlannerGridModel.h"
#include "core/SourceText.h"
#include "frmMesAdd.h"
#include "frmSetSelect.h"
#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/Fatal.h"
#include "core/FittedText.h"
#include "core/MeasureNames.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/Toolbar.h"
#include "core/WindowHelpers.h"
#include "core/frmProcess.h"
#include "mainwin/frmMain.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/Criteria.h"
#include "platform/DateField.h"
#include "platform/MsgBox.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimeEdit>
#include <QToolBar>

namespace {

constexpr int WindowWidth = 12000;
constexpr int WindowHeight = 6660;

constexpr ToolbarEntry ToolbarEntries[] = {
    {2, "mnu10", "back"}, {4, "mnu15", "add"}, {6, "mnu11", "delete"}, {8, "cmd13", "edit"}, {10, "mnu19", "options"},
};
constexpr int ToolbarButtonCount = 10;

// Grid columns: every field of the event record in table order.
struct GridColumn {
    const char* headerKey;  // nullptr: the field's own name
    bool shown;
    int width;              // twips
    bool editable;
};
constexpr GridColumn GridColumns[] = {
    {"mes219", false, 1515, false}, {"mes220", true, 2700, true},  {"mes179", true, 2295, true},
    {"mes180", true, 2295, true},   {"mes181", true, 2700, true},  {"mes221", false, 1515, false},
    {nullptr, false, 1515, false},
};

constexpr int DateColumn = 2;

Recordset& events() { return DataEnvironment1().rsCommand3; }

// Date cells are edited in a date field, which takes the date as typed.
class DateCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return new DateField(parent);
    }
};

}  // namespace

frmOrg::frmOrg()
    : Form(s("frmOrg"), MainWindow)
{
    setFixedSize(Px(WindowWidth), Px(WindowHeight));
    buildToolbar();
    Image1 = MakeControl<QLabel>(this, "Image1", 120, 1200, 480, 480);
    Image1->setPixmap(ToolbarIcon(s("category")).pixmap(32, 32));
    Label1 = MakeControl<QLabel>(this, "Label1", 720, 1200, 7200, 480);
    QFont font = Label1->font();
    font.setBold(true);
    font.setPixelSize(20);
    Label1->setFont(font);
    FitText(Label1);
    Combo1 = MakeControl<QComboBox>(this, "Combo1", 8280, 1275, 3600, 330);
    connect(Combo1, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            Combo1_Click();
    });
    DataGrid1 = MakeControl<QTableView>(this, "DataGrid1", 120, 1800, 11760, 4740);
    SetupDataGrid(DataGrid1);
    connect(DataGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this, &frmOrg::DataGrid1_HeadClick);
}

// The grid's editors are destroyed after this window's own part: a row they store
// then must not reach this window's handlers.
frmOrg::~frmOrg()
{
    if (GridModel)
        GridModel->disconnect(this);
}

void frmOrg::buildToolbar()
{
    Toolbar1 = BuildToolbar(this, WindowWidth, ToolbarEntries, ToolbarButtonCount, 3,
                            [this](int index) { Toolbar1_ButtonClick(index); }, &toolbarButtons_);
    SetToolbarPictures(toolbarButtons_, ToolbarEntries);
}

QAction* frmOrg::ToolbarButton(int index) const { return ToolbarButtonAt(toolbarButtons_, index); }

void frmOrg::Form_Load()
{
    frmMain::TakeHandedPosition(*this);
    SetFormIcon(this, s("RES_0"), true);
    SetToolbarFont(this, Toolbar1);
    bindGrid();
    HookGrid(DataGrid1);
    ApplyLanguage();
}

void frmOrg::bindGrid()
{
    Recordset& rs = events();
    OpenIfClosed(rs);
    GridModel = new PlannerGridModel(rs, Forms::Get<frmProcess>().TimeFormat, this);
    for (int column = 0; column < static_cast<int>(std::size(GridColumns)); ++column)
        GridModel->SetEditable(column, GridColumns[column].editable);
    DataGrid1->setModel(GridModel);
    DataGrid1->setItemDelegateForColumn(DateColumn, new DateCellDelegate(DataGrid1));
    for (int column = 0; column < static_cast<int>(std::size(GridColumns)); ++column) {
        DataGrid1->setColumnHidden(column, !GridColumns[column].shown);
        DataGrid1->setColumnWidth(column, Px(GridColumns[column].width));
    }
    // The grid's selected row is the recordset's current row, both ways.
    connect(DataGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    GridModel->SetCurrentRow(current.row());
            });
    connect(GridModel, &BoundGridModel::CurrentRowChanged, this, &frmOrg::showCurrentRow);
    connect(GridModel, &QAbstractItemModel::modelReset, this, &frmOrg::showCurrentRow);
    connect(GridModel, &BoundGridModel::CellWritten, this, [] { Forms::Get<frmProcess>().DateRefreshChanged(); });
    // The messages wait until the grid has finished with its editor.
    connect(GridModel, &PlannerGridModel::Refused, this, &frmOrg::reportRefusal, Qt::QueuedConnection);
    connect(GridModel, &PlannerGridModel::DateRefused, this, &frmOrg::reopenDate, Qt::QueuedConnection);
    connect(GridModel, &BoundGridModel::WriteFailed, this, [this] { reportRefusal(s("mes66")); },
            Qt::QueuedConnection);
}

void frmOrg::showCurrentRow()
{
    const int row = GridModel->CurrentRow();
    if (row >= 0 && DataGrid1->currentIndex().row() != row)
        DataGrid1->setCurrentIndex(GridModel->index(row, 1));
}

void frmOrg::reportRefusal(const QString& messageKey) { MsgBox(GetLangText(messageKey), 48, ProductName()); }

void frmOrg::reopenDate(int row, int column, const QString& typed)
{
    QPointer<frmOrg> self(this);
    reportRefusal(s("mes66"));
    if (!self)
        return;
    // The typed text comes back into the cell's editor, to be put right.
    const QModelIndex cell = GridModel->index(row, column);
    if (!cell.isValid())
        return;
    DataGrid1->setCurrentIndex(cell);
    DataGrid1->edit(cell);
    if (auto* editor = qobject_cast<DateField*>(DataGrid1->indexWidget(cell))) {
        editor->setText(typed);
        editor->setModified(true);
        editor->setFocus(Qt::OtherFocusReason);
    }
}

void frmOrg::ApplyLanguage()
{
    setWindowTitle(s("Tessaryn v.") + Forms::Get<frmProcess>().ProgramVersion + s(" - [") + GetLangText(s("mes218"))
                   + s("]"));
    SetToolbarCaptions(Toolbar1, toolbarButtons_, ToolbarEntries);
    for (int column = 0; column < static_cast<int>(std::size(GridColumns)); ++column) {
        if (GridColumns[column].headerKey)
            GridModel->SetHeader(column, GetLangText(s(GridColumns[column].headerKey)));
    }
}

void frmOrg::Form_Activate()
{
    // A closing planner is loading the main window again: an activation met while
    // that load pumps events must not unload it under its own load routine.
    if (!closing_)
        Forms::Unload<frmMain>();
}

bool frmOrg::Form_QueryUnload(UnloadMode mode)
{
    closing_ = true;
    if (isVisible())
        Combo1->setFocus();
    std::ignore = CloseIfOpen(DataEnvironment1().rsCommand1);  // only read here
    // Cell edits are stored as they are made: one still pending here could not be.
    const DbResult closed = CloseIfOpen(events());
    if (!closed.Ok()) {
        LogDbFailure(s("planner"), closed);
        MsgBox(GetLangText(s("mes331")), 48, ProductName());
    }
    UnhookGrid(DataGrid1);
    frmMesAdd* editor = Forms::Find<frmMesAdd>();
    if (editor && editor->isVisible())
        return false;
    Forms::Unload<frmMesAdd>();
    if (mode != UnloadMode::ControlMenu)
        frmMain::ReturnFrom(*this);
    return false;
}

void frmOrg::FillCategories(const QListWidget* categoryList)
{
    const QSignalBlocker blocker(Combo1);
    Combo1->clear();
    for (int row = 0; row < categoryList->count(); ++row) {
        const QListWidgetItem* item = categoryList->item(row);
        Combo1->addItem(item->text(), frmMain::StoredNameOf(item));
    }
    Combo1->setCurrentIndex(-1);
}

void frmOrg::SelectCategory(int index)
{
    if (index >= 0 && index < Combo1->count())
        SelectEntry(Combo1, index);
}

QString frmOrg::ChosenStoredName() const
{
    const QVariant stored = Combo1->currentData();
    return stored.isValid() ? stored.toString() : StoredMeasureName(Combo1->currentText());
}

void frmOrg::Combo1_Click()
{
    Label1->setText(Combo1->currentText());
    // Exactly the chosen category's events, its name taken literally.
    Recordset& rs = events();
    OpenIfClosed(rs);
    DbResult result = rs.SetFilter(s("Measure_Name = ") + Criteria::Quote(ChosenStoredName()));
    if (result.Ok())
        result = rs.Resync();
    // The grid would show another category's events, or rows the file no longer holds.
    if (!result.Ok())
        DatabaseFailure(rs.ActiveConnection(), result);
}

void frmOrg::DataGrid1_HeadClick(int column)
{
    // Both are columns of the table, and the grid's edits are stored as they are
    // made: the sort has nothing to fail on.
    if (column == 1)
        std::ignore = events().SetSort(s("Step_Name"));
    else if (column == 2)
        std::ignore = events().SetSort(s("Step_Date"));
}

void frmOrg::Toolbar1_ButtonClick(int index)
{
    switch (index) {
    case 2:
        Forms::Unload(this);
        break;
    case 4: {
        QPointer<frmMesAdd> editor(&Forms::Get<frmMesAdd>());
        editor->DTPicker1->setDate(Clock::Today());
        editor->DTPicker2->setTime(Clock::TimeOfDay());
        editor->SetCategory(Label1->text(), ChosenStoredName());
        editor->ShowModal(this);
        break;
    }
    case 6:
        DeleteEvent();
        break;
    case 8:
        EditEvent();
        break;
    case 10:
        frmSetSelect::ShowFor(this);
        break;
    default:
        break;
    }
}
