#include "frmWAB.h"

#include "core/NewVersion.h"
#include "core/OpenURL.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/SourceText.h"
#include "core/WindowHelpers.h"
#include "core/Fatal.h"
#include "core/frmProcess.h"
#include "platform/Controls.h"
#include "platform/MsgBox.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include <functional>
#include <memory>

namespace {

template <class T>
T* placed(T* control, const char* name, int left, int top, int width, int height)
{
    control->setObjectName(QString::fromLatin1(name));
    Place(control, left, top, width, height);
    return control;
}

// A tree whose label edits can be refused before they start.
class LabelEditTree : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;
    std::function<bool(QTreeWidgetItem*)> BeforeLabelEdit;

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override
    {
        QTreeWidgetItem* item = itemFromIndex(index);
        const bool starts = trigger == AllEditTriggers || (editTriggers() & trigger);
        if (item && starts && (item->flags() & Qt::ItemIsEditable) && BeforeLabelEdit && !BeforeLabelEdit(item))
            return false;
        return QTreeWidget::edit(index, trigger, event);
    }
};

QLabel* wrappedLabel(QWidget* page, const char* name, int left, int top, int width, int height)
{
    QLabel* label = placed(new QLabel(page), name, left, top, width, height);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QTreeWidgetItem* nodeByKey(QTreeWidget* tree, const QString& key)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if (NodeKey(*it) == key)
            return *it;
    }
    return nullptr;
}

}  // namespace

frmWAB::frmWAB()
    : Form(s("frmWAB"), DialogWindow)
    , Source(AddressBook::DefaultSource())
{
    setFixedSize(Px(10500), Px(6360));

    buildIntroPage();
    buildTransferPage();
    auto* line = placed(new QFrame(this), "Line1", 0, 5430, 10500, 30);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    cmdSelectAll = placed(new QPushButton(this), "cmdSelectAll", 240, 5730, 1560, 375);
    cmdDeselectAll = placed(new QPushButton(this), "cmdDeselectAll", 1920, 5730, 1560, 375);
    cmdNext = placed(new QPushButton(this), "cmdNext", 7680, 5730, 1215, 375);
    cmdTransfer = placed(new QPushButton(this), "cmdTransfer", 7680, 5730, 1215, 375);
    cmdExit = placed(new QPushButton(this), "cmdExit", 9045, 5730, 1215, 375);
    cmdSelectAll->hide();
    cmdDeselectAll->hide();
    cmdTransfer->hide();

    connectControls();
    SetCancelButton(cmdExit);
    SetDefaultButton(cmdNext);
}

// The first page: the source of the address book.
void frmWAB::buildIntroPage()
{
    fraIntro = placed(new QWidget(this), "fraIntro", 0, 0, 10500, 5430);
    lblTitle = placed(new QLabel(fraIntro), "lblTitle", 360, 300, 9780, 420);
    QFont heading = lblTitle->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.25);
    lblTitle->setFont(heading);
    lblIntro = wrappedLabel(fraIntro, "lblIntro", 360, 840, 9780, 780);
    lblSource = placed(new QLabel(fraIntro), "lblSource", 360, 1740, 9780, 255);
    txtSource = placed(new QLineEdit(fraIntro), "txtSource", 360, 2040, 6840, 345);
    txtSource->setReadOnly(true);
    cmdFolder = placed(new QPushButton(fraIntro), "cmdFolder", 7320, 2025, 1380, 375);
    cmdFile = placed(new QPushButton(fraIntro), "cmdFile", 8760, 2025, 1380, 375);
    lblNote = wrappedLabel(fraIntro, "lblNote", 360, 2700, 9780, 780);
    lblLicence = placed(new QLabel(fraIntro), "lblLicence", 360, 3540, 9780, 255);
    lblLicence->setCursor(Qt::PointingHandCursor);
    QFont link = lblLicence->font();
    link.setUnderline(true);
    lblLicence->setFont(link);
    lblLicence->setStyleSheet(s("color: #0645ad"));
    lblNext = placed(new QLabel(fraIntro), "lblNext", 360, 4860, 9780, 255);
}

// The second page: the book's folders and contacts, with the transfer's progress.
void frmWAB::buildTransferPage()
{
    fraTransfer = placed(new QWidget(this), "fraTransfer", 0, 0, 10500, 5430);
    lblFolders = placed(new QLabel(fraTransfer), "lblFolders", 240, 180, 2820, 255);
    auto* tree = placed(new LabelEditTree(fraTransfer), "tvFolders", 240, 480, 2820, 4800);
    tree->BeforeLabelEdit = [this](QTreeWidgetItem* node) { return tvFolders_BeforeLabelEdit(node); };
    tvFolders = tree;
    tvFolders->setHeaderHidden(true);
    tvFolders->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    lblContacts = placed(new QLabel(fraTransfer), "lblContacts", 3240, 180, 7020, 255);
    ListView1 = placed(new QTreeView(fraTransfer), "ListView1", 3240, 480, 7020, 4800);
    ListModel = new ContactListModel(lvContacts, this);
    ListView1->setModel(ListModel);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->header()->setSectionsClickable(false);
    const int columnWidths[] = {1500, 1650, 1800, 1800};
    for (int column = 0; column < 4; ++column)
        ListView1->setColumnWidth(column, Px(columnWidths[column]));
    fraProgress = placed(new QFrame(fraTransfer), "fraProgress", 4650, 2280, 4200, 840);
    fraProgress->setFrameShape(QFrame::Panel);
    fraProgress->setFrameShadow(QFrame::Raised);
    fraProgress->setAutoFillBackground(true);
    lblProgress = placed(new QLabel(fraProgress), "lblProgress", 120, 240, 3960, 360);
    lblProgress->setAlignment(Qt::AlignCenter);
    fraProgress->hide();
    fraTransfer->hide();
}

void frmWAB::connectControls()
{
    connect(cmdNext, &QPushButton::clicked, this, &frmWAB::cmdNext_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmWAB::cmdExit_Click);
    connect(cmdTransfer, &QPushButton::clicked, this, &frmWAB::cmdTransfer_Click);
    connect(cmdSelectAll, &QPushButton::clicked, this, &frmWAB::cmdSelectAll_Click);
    connect(cmdDeselectAll, &QPushButton::clicked, this, &frmWAB::cmdDeselectAll_Click);
    connect(cmdFolder, &QPushButton::clicked, this, &frmWAB::cmdFolder_Click);
    connect(cmdFile, &QPushButton::clicked, this, &frmWAB::cmdFile_Click);
    OnClick(lblLicence, [this] { lblLicence_Click(); });
    connect(tvFolders, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { tvFolders_NodeClick(current); });
    // An edit is saved once its editor has closed, so that a message never opens
    // inside the editor's commit.
    connect(tvFolders, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* node) {
        const QString key = NodeKey(node);
        QTimer::singleShot(0, this, [this, key] {
            if (QTreeWidgetItem* edited = nodeByKey(tvFolders, key))
                tvFolders_AfterLabelEdit(edited);
        });
    });
}

// The contact table points into the module's book: both go with the window, unless
// a window loaded since has made the book its own.
frmWAB::~frmWAB()
{
    ListModel->Clear();
    lvContacts.Clear();
    ReleaseAddressBook(book_);
}

void frmWAB::Form_Load()
{
    SetFormIcon(this, s("RES_0"), false);
    loadAddressBook();
    ApplyLanguage();
}

// One book, read once, gives the tree, the lists and the rename rules; the tree
// reads every folder, so that a rename finds a file changed since.
void frmWAB::loadAddressBook(std::unique_ptr<AddressBook> read)
{
    ListModel->Clear();
    lvContacts.Clear();
    InitAddressBook(std::move(read));
    book_ = ModuleAddressBook();
    FillFolderTree(tvFolders);
    FillContactList(tvFolders->currentItem(), lvContacts);
    txtSource->setText(QDir::toNativeSeparators(Source));
    txtSource->setCursorPosition(0);
}

bool frmWAB::Form_QueryUnload(UnloadMode) { return transferring_; }

void frmWAB::ApplyLanguage()
{
    setWindowTitle(GetLangText(s("mes266")));
    lblTitle->setText(GetLangText(s("mes285")));
    lblIntro->setText(GetLangText(s("mes215")));
    lblSource->setText(GetLangText(s("mes363")) + s(":"));
    cmdFolder->setText(GetLangText(s("mes364")));
    cmdFile->setText(GetLangText(s("mes365")));
    lblNote->setText(GetLangText(s("mes282")));
    lblLicence->setText(GetLangText(s("mes283")));
    lblLicence->adjustSize();  // only the text is the link
    lblNext->setText(GetLangText(s("mes284")));
    lblFolders->setText(GetLangText(s("mes267")) + s(":"));
    lblContacts->setText(GetLangText(s("mes268")) + s(":"));
    cmdNext->setText(GetLangText(s("cmd3")));
    cmdExit->setText(GetLangText(s("cmd1")));
    cmdTransfer->setText(GetLangText(s("cmd18")));
    cmdSelectAll->setText(GetLangText(s("cmd16")));
    cmdDeselectAll->setText(GetLangText(s("cmd17")));
}

void frmWAB::cmdNext_Click()
{
    fraIntro->setEnabled(false);
    fraIntro->hide();
    fraTransfer->show();
    cmdNext->hide();
    cmdTransfer->show();
    cmdSelectAll->show();
    cmdDeselectAll->show();
    SetDefaultButton(nullptr);
    tvFolders->setFocus();
}

void frmWAB::cmdExit_Click() { Forms::Unload(this); }

void frmWAB::cmdSelectAll_Click()
{
    ListView1->selectAll();
    ListView1->setFocus();
}

void frmWAB::cmdDeselectAll_Click()
{
    ListView1->clearSelection();
    ListView1->setFocus();
}

QString frmWAB::startFolder() const
{
    const QFileInfo source(Source);
    if (source.isDir())
        return Source;
    if (source.absoluteDir().exists())
        return source.absolutePath();
    return QDir::homePath();
}

void frmWAB::cmdFolder_Click()
{
    const QString chosen = Forms::Get<frmProcess>().CDlg(this, 3, GetLangText(s("mes366")), QString(), startFolder(),
                                                         s("0"), QString(), true);
    if (chosen == QLatin1String("Error"))
        return;
    Source = chosen;
    loadAddressBook();
}

void frmWAB::cmdFile_Click()
{
    const QString filter = GetLangText(s("mes368")) + s(" (*.vcf, *.vcard)|*.vcf;*.vcard");
    const QString chosen = Forms::Get<frmProcess>().CDlg(this, 1, GetLangText(s("mes367")), QString(), startFolder(),
                                                         s("6150"), filter, true);
    if (chosen == QLatin1String("Error"))
        return;
    auto book = std::make_unique<AddressBook>(chosen, CardFallbackCharset());
    if (book->TooLarge() || !book->HoldsReadableCard()) {
        MsgBox(GetLangText(s(book->TooLarge() ? "mes382" : "mes369")), 48, ProductName());
        return;
    }
    Source = chosen;
    loadAddressBook(std::move(book));
}

void frmWAB::lblLicence_Click() { OpenURL(HomePageUrl() + s("/lgpl.php")); }

void frmWAB::tvFolders_NodeClick(QTreeWidgetItem* node)
{
    if (transferring_)
        return;
    ListModel->Clear();
    FillContactList(node, lvContacts);
}

bool frmWAB::tvFolders_BeforeLabelEdit(QTreeWidgetItem* node)
{
    if (transferring_)
        return false;
    AddressBook* book = ModuleAddressBook();
    const QString id = KeyId(NodeKey(node));
    const AddressBook::Entry* fixed = book ? book->FixedFolder() : nullptr;
    if (!book || (fixed && fixed->Id == id))
        return false;
    const AddressBook::Entry* entry = book->LookUp(id);
    return entry && book->CanRename(*entry);
}

void frmWAB::tvFolders_AfterLabelEdit(QTreeWidgetItem* node)
{
    const QString saved = NodeSavedName(node);
    if (node->text(0) == saved)
        return;
    AddressBook* book = ModuleAddressBook();
    const QString id = KeyId(NodeKey(node));
    const AddressBook::Entry* entry = book ? book->LookUp(id) : nullptr;
    const AddressBook::SaveResult result =
        entry ? book->SetNameAndSave(id, node->text(0)) : AddressBook::SaveResult::NotFound;
    {
        const QSignalBlocker blocker(tvFolders);
        SetNodeName(node, result == AddressBook::SaveResult::Saved ? entry->Name : saved);
    }
    if (result == AddressBook::SaveResult::EmptyName)
        MsgBox(GetLangText(s("mes370")), 48, ProductName());
    else if (result != AddressBook::SaveResult::Saved && result != AddressBook::SaveResult::NotFound)
        MsgBox(GetLangText(s("mes371")), 48, ProductName());
}
