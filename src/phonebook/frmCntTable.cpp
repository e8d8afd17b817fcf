#include "frmCntTable.h"

#include "ContactRecord.h"
#include "core/SourceText.h"
#include "frmPhones.h"
#include "frmWAB.h"
#include "core/Fatal.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/cTabStripPane.h"
#include "platform/Controls.h"
#include "platform/MsgBox.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

frmCntTable::frmCntTable()
    : Form(s("frmCntTable"), DialogWindow)
{
    setFixedSize(Px(5280), Px(5640));
    tbsOptions = MakeControl<QTabWidget>(this, "tbsOptions", 120, 120, 5040, 4800);
    for (int i = 0; i < 2; ++i) {
        picOptions[i] = new QWidget(tbsOptions);
        picOptions[i]->setObjectName(QStringLiteral("picOptions%1").arg(i));
        tbsOptions->addTab(picOptions[i], QString());
    }
    Frame1 = MakeControl<QGroupBox>(picOptions[0], "Frame1", 120, 120, 4680, 4200);
    List1 = MakeControl<QListWidget>(Frame1, "List1", 180, 330, 4320, 3690);
    Frame2 = MakeControl<QGroupBox>(picOptions[1], "Frame2", 120, 120, 4680, 1200);
    CommandImport = MakeControl<QPushButton>(Frame2, "CommandImport", 180, 480, 4320, 375);
    Command0 = MakeControl<QPushButton>(this, "Command0", 2640, 5040, 1215, 375);
    Command1 = MakeControl<QPushButton>(this, "Command1", 3945, 5040, 1215, 375);
    Command0->setText(s("OK"));
    connect(CommandImport, &QPushButton::clicked, this, &frmCntTable::CommandImport_Click);
    connect(Command0, &QPushButton::clicked, this, &frmCntTable::Command0_Click);
    connect(Command1, &QPushButton::clicked, this, [this] { Forms::Unload(this); });
    SetCancelButton(Command1);
    SetDefaultButton(Command0);
}

frmCntTable::~frmCntTable() = default;

void frmCntTable::Form_Load()
{
    TabPane = std::make_unique<cTabStripPane>(tbsOptions);
    ApplyLanguage();
    LoadColumnChoice();
}

void frmCntTable::ApplyLanguage()
{
    setWindowTitle(GetLangText(s("mes140")));
    tbsOptions->setTabText(0, GetLangText(s("mes71")));
    tbsOptions->setTabText(1, GetLangText(s("mes141")));
    Frame1->setTitle(GetLangText(s("mes142")) + s(":"));
    Frame2->setTitle(GetLangText(s("mes143")) + s(":"));
    CommandImport->setText(GetLangText(s("mes144")));
    Command1->setText(GetLangText(s("cmd2")));
    List1->clear();
    for (int column : ChoosableGridColumns()) {
        auto* entry = new QListWidgetItem(GetLangText(s(GridCaptionKey(column))), List1);
        entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        entry->setCheckState(Qt::Unchecked);
    }
}

void frmCntTable::LoadColumnChoice()
{
    const QList<bool> shown = ReadColumnChoice();
    for (int i = 0; i < shown.size() && i < List1->count(); ++i)
        List1->item(i)->setCheckState(shown[i] ? Qt::Checked : Qt::Unchecked);
}

void frmCntTable::Command0_Click()
{
    QList<bool> shown;
    for (int i = 0; i < List1->count(); ++i)
        shown.append(List1->item(i)->checkState() == Qt::Checked);
    if (!WriteColumnChoice(shown)) {
        MsgBox(GetLangText(s("mes395")), 48, ProductName());
        return;
    }
    if (frmPhones* phones = Forms::Find<frmPhones>()) {
        const QList<int> columns = ChoosableGridColumns();
        for (int i = 0; i < columns.size(); ++i)
            phones->SetColumnShown(columns[i], shown[i]);
    }
    Forms::Unload(this);
}

void frmCntTable::CommandImport_Click()
{
    // The chooser closes first; its ticks are not kept.
    Forms::Unload(this);
    Forms::Get<frmWAB>().ShowModal(Forms::Find<frmPhones>());
}
