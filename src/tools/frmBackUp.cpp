#include "frmBackUp.h"

#include "BackupRestore.h"
#include "WizardControls.h"
#include "core/Fatal.h"
#include "core/Formats.h"
#include "core/Options.h"
#include "core/RegData.h"
#include "core/Resources.h"
#include "core/SourceText.h"
#include "core/frmProcess.h"
#include "mainwin/frmMain.h"
#include "platform/Clock.h"
#include "platform/KnownFolders.h"
#include "platform/MsgBox.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QThreadPool>

namespace {

constexpr int WindowWidth = 7200;
constexpr int PageHeight = 4320;
const QString CommonFlags = QStringLiteral("6150");

const DataKind KindOptions[] = {DataKind::Events, DataKind::Phones, DataKind::Tasks};

QString withColon(const char* key) { return GetLangText(s(key)) + s(":"); }

void notBackupMessage()
{
    MsgBox(GetLangText(s("mes52")) + s("\r\n") + GetLangText(s("mes53")) + s(" Tessaryn."), 48, ProductName());
}

}  // namespace

frmBackUp::frmBackUp()
    : Form(s("frmBackUp"), DialogWindow)
{
    setFixedSize(Px(WindowWidth), Px(PageHeight + 720));
    Picture1 = AddPage(this, "Picture1", WindowWidth, PageHeight, &Label1);
    Label2 = AddDescription(Picture1, "Label2", 240, 720, WindowWidth - 480, 1200);
    Label3 = MakeControl<QLabel>(Picture1, "Label3", 240, 1980, WindowWidth - 480, 300);
    Label4 = MakeControl<QLabel>(Picture1, "Label4", 240, 2280, WindowWidth - 480, 300);
    Frame1 = AddOptionFrame(this, "Frame1", 240, 2760, WindowWidth - 480, 2, &Option1);

    Picture2 = AddPage(this, "Picture2", WindowWidth, PageHeight, &Label5);
    Label6 = MakeControl<QLabel>(Picture2, "Label6", 240, 720, WindowWidth - 480, 300);
    Frame2 = AddOptionFrame(Picture2, "Frame2", 240, 1200, WindowWidth - 480, 3, &Option2);

    const int buttonsTop = PageHeight + 150;
    cmdNext = MakeControl<QPushButton>(this, "cmdNext", WindowWidth - 2760, buttonsTop, 1200, 390);
    cmdOK = MakeControl<QPushButton>(this, "cmdOK", WindowWidth - 2760, buttonsTop, 1200, 390);
    cmdCancel = MakeControl<QPushButton>(this, "cmdCancel", WindowWidth - 1440, buttonsTop, 1200, 390);
    cmdOK->setText(s("OK"));
    SetCancelButton(cmdCancel);
    SetDefaultButton(cmdNext);
    connect(cmdNext, &QPushButton::clicked, this, &frmBackUp::cmdNext_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmBackUp::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmBackUp::cmdCancel_Click);
}

void frmBackUp::Form_Load()
{
    SetFormIcon(this, s("RES_0"), false);
    setWindowTitle(GetLangText(s("mes38")));
    Label1->setText(GetLangText(s("mes39")));
    Label2->setText(GetLangText(s("mes42")));
    Label3->setText(withColon("mes43"));
    QString lastBackup;
    // "Never" only for a time that is not there: one that cannot be read is not shown.
    if (RegRead(LastBackupValuePath(), &lastBackup) == ReadResult::Missing)
        lastBackup = GetLangText(s("mes44"));
    Label4->setText(lastBackup);
    Frame1->setTitle(withColon("mes45"));
    Option1[0]->setText(GetLangText(s("opt4")));
    Option1[1]->setText(GetLangText(s("opt5")));
    Label5->setText(GetLangText(s("mes39")));
    Label6->setText(withColon("mes40"));
    Frame2->setTitle(withColon("mes41"));
    for (int i = 0; i < 3; ++i)
        Option2[i]->setText(GetLangText(s(KindInfo(KindOptions[i]).textKey)));
    cmdNext->setText(GetLangText(s("cmd3")));
    cmdCancel->setText(GetLangText(s("cmd2")));
    cmdOK->hide();
    Picture2->hide();
}

void frmBackUp::Form_Unload()
{
    if (pending_)
        QGuiApplication::restoreOverrideCursor();
    pending_.reset();
}

void frmBackUp::ShowFor(Form* mainWindow)
{
    frmBackUp& wizard = Forms::Get<frmBackUp>();
    if (auto* main = qobject_cast<frmMain*>(mainWindow))
        main->CentreOver(wizard);
    wizard.ShowModal(mainWindow);
}

bool frmBackUp::OnSecondPage() const { return !Picture2->isHidden(); }

void frmBackUp::cmdNext_Click()
{
    if (Restoring())
        return;
    if (Option1[1]->isChecked()) {
        restore();
        return;
    }
    cmdNext->hide();
    Frame1->hide();
    cmdOK->show();
    Picture2->show();
    SetDefaultButton(cmdOK);
    Option2[ChosenIndex(Option2)]->setFocus();
}

void frmBackUp::cmdCancel_Click() { Forms::Unload(this); }

void frmBackUp::cmdOK_Click()
{
    const DataKind kind = KindOptions[ChosenIndex(Option2)];
    const QString extension = QLatin1String(KindInfo(kind).extension);
    const QString title = GetLangText(s("mes46")) + s(": ") + GetLangText(s(KindInfo(kind).textKey));
    const QString filter = GetLangText(s("mes47")) + s(" (*") + extension + s(")|*") + extension;
    const QString chosen =
        Forms::Get<frmProcess>().CDlg(this, 2, title, BackupFileName(DateText(Clock::Today()), kind),
                                      KnownFolders::UserProfileFolder(), CommonFlags, filter, true, extension.mid(1));
    if (chosen.isEmpty() || chosen == s("Error"))
        return;
    const QString target = WithBackupExtension(chosen, kind);
    switch (BackUp(kind, target)) {
    case CopyOutcome::Done:
        break;
    case CopyOutcome::MissingDatabase:
        FatalEnd(GetLangText(s("mes48")));
    default:
        MsgBox(GetLangText(s("mes374")) + s("\r\n") + target, 48, ProductName());
        return;
    }
    QPointer<frmBackUp> self(this);
    MsgBox(GetLangText(s("mes49")), 64, ProductName());
    Forms::Unload(self.data());
}

void frmBackUp::restore()
{
    const QString filter = GetLangText(s("mes47")) + s(" (*.tssv, *.tssp,*.tssb)|*.tssv;*.tssp;*.tssb");
    const QString chosen = Forms::Get<frmProcess>().CDlg(this, 1, GetLangText(s("mes50")), QString(),
                                                         KnownFolders::UserProfileFolder(), CommonFlags, filter, true);
    if (chosen.isEmpty() || chosen == s("Error"))
        return;
    const std::optional<DataKind> kind = KindOfPath(chosen);
    if (!kind) {
        Forms::Unload(this);
        Forms::Unload<frmMain>();
        return;
    }
    auto pending = std::make_shared<RestoreStage>(BeginRestore(*kind, chosen));
    if (pending->outcome != CopyOutcome::Done) {
        restoreEnded(*kind, pending->outcome);
        return;
    }
    pending_ = pending;
    cmdNext->setEnabled(false);
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    // The backup is staged on a worker thread of the program's pool and comes back to
    // this one: the wizard swaps it in, or drops it when it has been left meanwhile.
    QThreadPool::globalInstance()->start([pending, wizard = QPointer<frmBackUp>(this)]() mutable {
        StageRestore(pending.get());
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [pending, wizard = std::move(wizard)] {
                if (wizard && wizard->pending_ == pending)
                    wizard->restoreStaged(pending);
                else
                    DropRestore(*pending);
            },
            Qt::QueuedConnection);
    });
}

void frmBackUp::restoreStaged(const std::shared_ptr<RestoreStage>& pending)
{
    pending_.reset();
    cmdNext->setEnabled(true);
    QGuiApplication::restoreOverrideCursor();
    restoreEnded(pending->kind, FinishRestore(*pending));
}

void frmBackUp::restoreEnded(DataKind kind, CopyOutcome outcome)
{
    switch (outcome) {
    case CopyOutcome::Done:
    case CopyOutcome::DoneWithoutEntries:
        break;
    case CopyOutcome::MissingDatabase:
        FatalEnd(GetLangText(s("mes48")));
    case CopyOutcome::Lost:
        FatalEnd(GetLangText(s("mes54")));
    case CopyOutcome::WriteFailed:
        MsgBox(GetLangText(s("mes375")), 48, ProductName());
        return;
    case CopyOutcome::NotBackup:
    case CopyOutcome::RolledBack:
        notBackupMessage();
        return;
    }
    // The event list is read again before anything else can run.
    if (kind == DataKind::Events)
        Forms::Get<frmProcess>().DateRefresh();
    QString done = GetLangText(s("mes51"));
    if (outcome == CopyOutcome::DoneWithoutEntries)
        done += s("\r\n") + GetLangText(s("mes399"));
    QPointer<frmBackUp> self(this);
    MsgBox(done, 64, ProductName());
    Forms::Unload(self.data());
    Forms::Unload<frmMain>();
}
