#include "frmBus.h"

#include "core/SourceText.h"
#include "frmBusAdd.h"
#include "core/BusSettings.h"
#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/Fatal.h"
#include "core/Formats.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/clsINI.h"
#include "core/Toolbar.h"
#include "core/WindowHelpers.h"
#include "core/frmProcess.h"
#include "mainwin/frmMain.h"
#include "platform/BoundGridModel.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/DateField.h"
#include "platform/MsgBox.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>

namespace {

constexpr int WindowWidth = 12000;
constexpr int WindowHeight = 6660;

constexpr ToolbarEntry ToolbarEntries[] = {
    {2, "mnu10", "back"}, {4, "mnu11", "delete"}, {6, "mnu12", "options"},
    {8, "mnu13", "done"}, {10, "mnu14", "undone"},
};
constexpr int ToolbarButtonCount = 10;

// Grid columns: the task's fields in table order, with their captions and widths.
struct GridColumn {
    const char* field;
    const char* headerKey;  // nullptr: "ID"
    int width;              // twips; 0 takes the room the others leave
};
constexpr GridColumn GridColumns[] = {
    {"bsn_Date", "mes61", 1800}, {"bsn_Text", "mes62", 0}, {"bsn_Status", "mes63", 1800}, {"bsn_ID", nullptr, 900},
};
constexpr int StatusColumn = 2;

bool isEnter(const QKeyEvent* key)
{
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        && (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier);
}

}  // namespace

Recordset& TaskRecords() { return DataEnvironment1().rstbl_Business; }

frmBus::frmBus()
    : Form(s("frmBus"), MainWindow)
{
    setFixedSize(Px(WindowWidth), Px(WindowHeight));
    Toolbar1 = BuildToolbar(this, WindowWidth, ToolbarEntries, ToolbarButtonCount, 3,
                            [this](int index) { Toolbar1_ButtonClick(index); }, &toolbarButtons_);
    SetToolbarPictures(toolbarButtons_, ToolbarEntries);
    Image1 = MakeControl<QLabel>(this, "Image1", 120, 1200, 480, 480);
    Image1->setPixmap(ToolbarIcon(s("tasks")).pixmap(32, 32));
    Label1 = MakeControl<QLabel>(this, "Label1", 720, 1200, 7200, 480);
    QFont font = Label1->font();
    font.setBold(true);
    font.setPixelSize(20);
    Label1->setFont(font);

    Label2 = MakeControl<QLabel>(this, "Label2", 120, 1800, 7080, 255);
    Text1 = MakeControl<QLineEdit>(this, "Text1", 120, 2055, 7080, 345);
    Label3 = MakeControl<QLabel>(this, "Label3", 7320, 1800, 2280, 255);
    DTPicker1 = MakeControl<DateField>(this, "DTPicker1", 7320, 2055, 2280, 345);
    DTPicker1->setCalendarPopup(true);
    Command1 = MakeControl<QPushButton>(this, "Command1", 9720, 2040, 2160, 375);
    SelectAllOnFocus(Text1);
    Text1->installEventFilter(this);
    DTPicker1->installEventFilter(this);
    connect(Command1, &QPushButton::clicked, this, &frmBus::AddTask);

    Label4 = MakeControl<QLabel>(this, "Label4", 120, 2580, 7080, 255);
    DataGrid1 = MakeControl<QTableView>(this, "DataGrid1", 120, 2835, 11760, 3705);
    DataGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DataGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DataGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DataGrid1->setAlternatingRowColors(true);
    DataGrid1->setWordWrap(true);
    DataGrid1->verticalHeader()->hide();
    DataGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DataGrid1->verticalHeader()->setMinimumSectionSize(1);
    DataGrid1->horizontalHeader()->setSectionsClickable(true);
    DataGrid1->installEventFilter(this);
    connect(DataGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this, &frmBus::DataGrid1_HeadClick);

    setTabOrder(Text1, DTPicker1);
    setTabOrder(DTPicker1, Command1);
    setTabOrder(Command1, DataGrid1);
}

// The grid's editors are destroyed after this window's own part: a row they store
// then must not reach this window's handlers.
frmBus::~frmBus()
{
    if (GridModel)
        GridModel->disconnect(this);
}

QAction* frmBus::ToolbarButton(int index) const { return ToolbarButtonAt(toolbarButtons_, index); }

void frmBus::Form_Load()
{
    frmMain::TakeHandedPosition(*this);
    SetFormIcon(this, s("RES_0"), true);
    SetToolbarFont(this, Toolbar1);
    bindGrid();
    ApplyLanguage();
    HookGrid(DataGrid1);
    DTPicker1->setDate(Clock::Today());
    ApplyStatusFormat();
    ApplyRowHeight();
    Text1->setFocus();
}

void frmBus::bindGrid()
{
    Recordset& rs = TaskRecords();
    OpenIfClosed(rs);
    GridModel = new BoundGridModel(rs, this);
    QList<int> fields;
    for (const GridColumn& column : GridColumns)
        fields.append(rs.FieldIndex(s(column.field)));
    GridModel->SetColumns(fields);
    GridModel->SetDisplayFormat(0, [](const QVariant& value) { return DateText(value.toDate()); });
    DataGrid1->setModel(GridModel);
    layOutColumns();
    // A closed recordset shows no columns; when it is open again they come back as laid out.
    connect(DataGrid1->horizontalHeader(), &QHeaderView::sectionCountChanged, this, [this](int before, int now) {
        if (before == 0 && now > 0)
            layOutColumns();
    });
    // The grid's selected row is the recordset's current row, both ways.
    connect(DataGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    GridModel->SetCurrentRow(current.row());
            });
    connect(DataGrid1->selectionModel(), &QItemSelectionModel::selectionChanged, this, &frmBus::showCurrentRow);
    connect(GridModel, &BoundGridModel::CurrentRowChanged, this, &frmBus::showCurrentRow);
    connect(GridModel, &QAbstractItemModel::modelReset, this, &frmBus::showCurrentRow);
    showCurrentRow();
}

void frmBus::layOutColumns()
{
    QHeaderView* header = DataGrid1->horizontalHeader();
    for (int column = 0; column < header->count() && column < static_cast<int>(std::size(GridColumns)); ++column) {
        if (GridColumns[column].width > 0)
            DataGrid1->setColumnWidth(column, Px(GridColumns[column].width));
        else
            header->setSectionResizeMode(column, QHeaderView::Stretch);
    }
}

void frmBus::showCurrentRow()
{
    const int row = GridModel->CurrentRow();
    QItemSelectionModel* selection = DataGrid1->selectionModel();
    if (row < 0) {
        if (selection->hasSelection())
            selection->clearSelection();
        return;
    }
    if (DataGrid1->currentIndex().row() != row || !selection->isRowSelected(row))
        DataGrid1->setCurrentIndex(GridModel->index(row, 1));
}

void frmBus::ApplyLanguage()
{
    setWindowTitle(s("Tessaryn v.") + Forms::Get<frmProcess>().ProgramVersion + s(" - [") + GetLangText(s("mes57"))
                   + s("]"));
    SetToolbarCaptions(Toolbar1, toolbarButtons_, ToolbarEntries);
    Label1->setText(GetLangText(s("opt3")));
    Label2->setText(GetLangText(s("mes58")));
    Text1->setText(GetLangText(s("mes59")));
    Label3->setText(GetLangText(s("mes61")));
    Command1->setText(GetLangText(s("cmd4")));
    Label4->setText(GetLangText(s("mes60")));
    for (int column = 0; column < static_cast<int>(std::size(GridColumns)); ++column) {
        const char* key = GridColumns[column].headerKey;
        GridModel->SetHeader(column, key ? GetLangText(s(key)) : s("ID"));
    }
}

void frmBus::ApplyStatusFormat()
{
    const QString done = GetOwnText(s("txtdone"));
    const QString waiting = GetOwnText(s("txtwait"));
    GridModel->SetDisplayFormat(StatusColumn, [done, waiting](const QVariant& value) {
        if (!value.isValid() || value.isNull())
            return s("Error");
        return value.toBool() ? done : waiting;
    });
}

void frmBus::ApplyRowHeight()
{
    const int units = RowHeightUnits(NoNul(ReadOption(BusSettingsSection, s("rowheight"))));
    DataGrid1->verticalHeader()->setDefaultSectionSize(RowHeightPixels(units));
}

void frmBus::Form_Activate()
{
    // A closing task list is loading the main window again: an activation met while
    // that load pumps events must not unload it under its own load routine.
    if (!closing_)
        Forms::Unload<frmMain>();
}

bool frmBus::Form_QueryUnload(UnloadMode mode)
{
    closing_ = true;
    Forms::Unload<frmBusAdd>();
    if (isVisible())
        Text1->setFocus();
    // Every change is stored as it is made: one still pending here could not be.
    const DbResult closed = CloseIfOpen(TaskRecords());
    if (!closed.Ok()) {
        LogDbFailure(s("task list"), closed);
        MsgBox(GetLangText(s("mes66")), 48, ProductName());
    }
    UnhookGrid(DataGrid1);
    if (mode != UnloadMode::ControlMenu)
        frmMain::ReturnFrom(*this);
    return false;
}

void frmBus::DataGrid1_HeadClick(int column)
{
    // The ID column does not sort. The others are columns of the table, and every
    // change is stored as it is made: the sort has nothing to fail on.
    Recordset& rs = TaskRecords();
    if (column >= 0 && column < 3 && rs.State() != 0)
        std::ignore = rs.SetSort(s(GridColumns[column].field));
}

void frmBus::Toolbar1_ButtonClick(int index)
{
    switch (index) {
    case 2:
        Forms::Unload(this);
        break;
    case 4:
        DeleteTask();
        break;
    case 6:
        Forms::Get<frmBusAdd>().ShowModal(this);
        break;
    case 8:
        SetTaskStatus(true);
        break;
    case 10:
        SetTaskStatus(false);
        break;
    default:
        break;
    }
}

bool frmBus::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return Form::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == Text1 && isEnter(key)) {
        if (!Text1->text().isEmpty())
            DTPicker1->setFocus(Qt::TabFocusReason);
        return true;
    }
    // Enter in the picker adds the task; the picker itself leaves Enter alone.
    if (watched == DTPicker1 && isEnter(key)) {
        AddTask();
        return true;
    }
    if (watched == DataGrid1 && key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
        DataGrid1_KeyDelete();
        return true;
    }
    return Form::eventFilter(watched, event);
}
