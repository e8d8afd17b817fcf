#include "frmReports.h"

#include "WizardControls.h"
#include "core/DBConfig.h"
#include "core/Fatal.h"
#include "core/OpenURL.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/SourceText.h"
#include "mainwin/frmMain.h"
#include "platform/FileSystem.h"
#include "platform/MsgBox.h"
#include "platform/Recordset.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QThreadPool>

namespace {

constexpr int WindowWidth = 7200;
constexpr int PageHeight = 4680;

// A step of the page keeps the window's events waiting no longer than this.
constexpr int BuildStepMs = 20;
// A page up to this size is written at once: a few milliseconds.
constexpr qsizetype WriteAtOnce = 1024 * 1024;

}  // namespace

frmReports::frmReports()
    : Form(s("frmReports"), DialogWindow)
{
    setFixedSize(Px(WindowWidth), Px(PageHeight + 720));
    Picture1 = AddPage(this, "Picture1", WindowWidth, PageHeight, &Label1);
    Label2 = AddDescription(Picture1, "Label2", 240, 720, WindowWidth - 480, 1200);
    Frame1 = AddOptionFrame(Picture1, "Frame1", 240, 2040, WindowWidth - 480, 3, &Option1);

    Picture2 = AddPage(this, "Picture2", WindowWidth, PageHeight, &Label3);
    Label4 = MakeControl<QLabel>(Picture2, "Label4", 240, 720, WindowWidth - 480, 300);
    List1 = MakeControl<QListWidget>(Picture2, "List1", 240, 1080, WindowWidth - 480, PageHeight - 1200);

    const int buttonsTop = PageHeight + 150;
    cmdBack = MakeControl<QPushButton>(this, "cmdBack", WindowWidth - 4080, buttonsTop, 1200, 390);
    cmdNext = MakeControl<QPushButton>(this, "cmdNext", WindowWidth - 2760, buttonsTop, 1200, 390);
    cmdExit = MakeControl<QPushButton>(this, "cmdExit", WindowWidth - 1440, buttonsTop, 1200, 390);
    SetCancelButton(cmdExit);
    SetDefaultButton(cmdNext);
    connect(cmdNext, &QPushButton::clicked, this, &frmReports::cmdNext_Click);
    connect(cmdBack, &QPushButton::clicked, this, &frmReports::cmdBack_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmReports::cmdExit_Click);
    buildStep_.setInterval(0);
    connect(&buildStep_, &QTimer::timeout, this, &frmReports::buildStep);
}

frmReports::~frmReports() = default;

void frmReports::Form_Unload()
{
    if (Building())
        setBuilding(false);
    buildStep_.stop();
    page_.reset();
    rows_.reset();
    written_.reset();
}

void frmReports::Form_Load()
{
    SetFormIcon(this, s("RES_0"), false);
    setWindowTitle(GetLangText(s("mes250")));
    Label1->setText(GetLangText(s("mes250")));
    Label2->setText(GetLangText(s("mes251")));
    Frame1->setTitle(GetLangText(s("mes252")));
    const char* const kinds[] = {"opt1", "opt3", "opt2"};
    for (int i = 0; i < 3; ++i)
        Option1[i]->setText(GetLangText(s(kinds[i])));
    Label3->setText(GetLangText(s("mes250")));
    Label4->setText(GetLangText(s("mes291")) + s(":"));
    cmdNext->setText(GetLangText(s("cmd3")));
    cmdExit->setText(GetLangText(s("cmd1")));
    cmdBack->setText(GetLangText(s("cmd20")));
    Picture2->hide();
    cmdBack->hide();
    Option1[0]->setChecked(true);
}

void frmReports::ShowFor(Form* mainWindow)
{
    frmReports& wizard = Forms::Get<frmReports>();
    if (auto* main = qobject_cast<frmMain*>(mainWindow))
        main->CentreOver(wizard);
    wizard.ShowModal(mainWindow);
}

ReportKind frmReports::ChosenKind() const
{
    const ReportKind kinds[] = {ReportKind::Events, ReportKind::Tasks, ReportKind::Contacts};
    return kinds[ChosenIndex(Option1)];
}

bool frmReports::OnSecondPage() const { return !Picture2->isHidden(); }

void frmReports::cmdNext_Click()
{
    if (Building())
        return;
    if (!OnSecondPage()) {
        fillColumns();
        Picture1->hide();
        Picture2->show();
        cmdBack->show();
        List1->setFocus();
        return;
    }
    buildReport();
}

void frmReports::cmdBack_Click()
{
    if (Building())
        return;
    Picture2->hide();
    cmdBack->hide();
    Picture1->show();
}

void frmReports::cmdExit_Click() { Forms::Unload(this); }

void frmReports::fillColumns()
{
    List1->clear();
    for (const ReportColumn& column : ReportColumns(ChosenKind())) {
        auto* item = new QListWidgetItem(GetLangText(s(column.caption)), List1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(column.tickedAtStart ? Qt::Checked : Qt::Unchecked);
    }
    List1->setCurrentRow(0);
}

void frmReports::buildReport()
{
    const ReportKind kind = ChosenKind();
    QList<bool> ticks;
    for (int row = 0; row < List1->count(); ++row)
        ticks.append(List1->item(row)->checkState() == Qt::Checked);

    // A recordset of its own: the shared one keeps the filter, sort and current row
    // of the window that shows it, and the report still lists every row.
    Recordset& shared = ReportRecordset(kind);
    rows_ = std::make_unique<Recordset>(shared.ActiveConnection(), ReportTable(kind));
    OpenIfClosed(*rows_);
    // A sort the shared recordset took, on a copy with nothing pending: it has nothing
    // to fail on.
    if (shared.State() != 0 && !shared.Sort().isEmpty())
        std::ignore = rows_->SetSort(shared.Sort());
    // Open has read the first rows: none means an empty table.
    if (rows_->FetchedCount() < 1 && !rows_->Fetching()) {
        rows_.reset();
        MsgBox(GetLangText(s("mes293")), 48, ProductName());
        return;
    }
    page_ = std::make_unique<ReportPage>(kind, ticks);
    page_->Begin(*rows_);
    setBuilding(true);
    buildStep();
}

void frmReports::buildStep()
{
    bool done = false;
    const DbResult read = page_->AddRows(*rows_, BuildStepMs, &done);
    if (!read.Ok()) {
        setBuilding(false);
        page_.reset();
        rows_.reset();
        DatabaseFailure(ReportRecordset(ChosenKind()).ActiveConnection(), read);
        return;
    }
    if (!done) {
        buildStep_.start();
        return;
    }
    buildStep_.stop();
    page_->End();
    QByteArray html = std::move(page_->ReportHtml);
    page_.reset();
    rows_.reset();  // only read: nothing is pending
    writeReport(std::move(html));
}

void frmReports::writeReport(QByteArray html)
{
    if (html.size() <= WriteAtOnce) {
        reportWritten(FileSystem::WriteAtomic(ReportFilePath(), html, FileSystem::FileMode::OwnerOnly));
        return;
    }
    // The page is written on a worker thread of the program's pool; a wizard left
    // meanwhile hears nothing of it.
    auto written = std::make_shared<bool>(false);
    written_ = written;
    QThreadPool::globalInstance()->start(
        [path = ReportFilePath(), html = std::move(html), written, wizard = QPointer<frmReports>(this)]() mutable {
            *written = FileSystem::WriteAtomic(path, html, FileSystem::FileMode::OwnerOnly);
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [written, wizard = std::move(wizard)] {
                    if (!wizard || written != wizard->written_)
                        return;
                    wizard->written_.reset();
                    wizard->reportWritten(*written);
                },
                Qt::QueuedConnection);
        });
}

void frmReports::reportWritten(bool written)
{
    setBuilding(false);
    if (!written) {
        MsgBox(GetLangText(s("mes373")) + s("\r\n") + ReportFilePath(), 48, ProductName());
        return;
    }
    OpenURL(ReportFilePath());
}

void frmReports::setBuilding(bool on)
{
    cmdNext->setEnabled(!on);
    cmdBack->setEnabled(!on);
    if (on)
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}
