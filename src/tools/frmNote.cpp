#include "frmNote.h"

#include "NoteStore.h"
#include "core/Fatal.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/SourceText.h"
#include "core/Toolbar.h"
#include "core/WindowHelpers.h"
#include "core/frmProcess.h"
#include "frmNoteGroupes.h"
#include "mainwin/frmMain.h"
#include "platform/Controls.h"
#include "platform/FileSystem.h"
#include "platform/MsgBox.h"
#include "platform/RichTextBox.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QTreeWidget>

#include <utility>

namespace {

constexpr int WindowWidth = 12000;
constexpr int WindowHeight = 6660;
constexpr int TypedTitleLimit = 32;

constexpr ToolbarEntry ToolbarEntries[] = {
    {2, "mnu10", "back"},    {4, "mnu15", "newnote"}, {6, "mnu16", "save"},    {8, "mnu17", "import"},
    {10, "mnu18", "export"}, {12, "mnu11", "delete"}, {14, "mnu22", "groups"},
};
constexpr int ToolbarButtonCount = 14;

}  // namespace

frmNote::frmNote()
    : Form(s("frmNote"), MainWindow)
{
    setFixedSize(Px(WindowWidth), Px(WindowHeight));
    buildToolbar();
    Combo1 = MakeControl<QComboBox>(this, "Combo1", 120, 1200, 3600, 330);
    connect(Combo1, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            Combo1_Click();
    });
    Tree1 = MakeControl<QTreeWidget>(this, "Tree1", 120, 1620, 3600, 4920);
    Tree1->setHeaderHidden(true);
    Tree1->setColumnCount(1);
    Tree1->setRootIsDecorated(true);
    Tree1->installEventFilter(this);
    connect(Tree1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node) { Tree1_NodeClick(node); });
    Text1 = MakeControl<QLineEdit>(this, "Text1", 3840, 1200, 8040, 330);
    SelectAllOnFocus(Text1);
    // A user's edit is seen before the change is: the text before it is still at hand.
    connect(Text1, &QLineEdit::textEdited, this, &frmNote::title_Edited);
    connect(Text1, &QLineEdit::textChanged, this, [this](const QString& text) {
        titleBefore_ = text;
        NoteModified = true;
        NoteTitleEdited = true;
    });
    buildEditor();
    // A note read apart is shown with the box's signals held: the label follows here.
    connect(RTB1, &RichTextBox::Loaded, this, &frmNote::UpdateFormatLabel);
}

frmNote::~frmNote() = default;

void frmNote::buildToolbar()
{
    Toolbar1 = BuildToolbar(this, WindowWidth, ToolbarEntries, ToolbarButtonCount, 3,
                            [this](int index) { Toolbar1_ButtonClick(index); }, &toolbarButtons_);
    SetToolbarPictures(toolbarButtons_, ToolbarEntries);
}

QAction* frmNote::ToolbarButton(int index) const { return ToolbarButtonAt(toolbarButtons_, index); }

void frmNote::Form_Load()
{
    frmMain::TakeHandedPosition(*this);
    SetFormIcon(this, s("RES_0"), true);
    SetToolbarFont(this, Toolbar1);
    NoteSaveDone = true;
    NoteTitleEdited = true;
    NoteModified = false;
    ApplyLanguage();
    // Without it the group list is empty and a save says it failed.
    if (!FileSystem::IsFolder(NotesFolder()))
        std::ignore = FileSystem::MakeFolder(NotesFolder());
    FillGroups();
    setTitle(MakeNewNoteName());
}

void frmNote::ApplyLanguage()
{
    setWindowTitle(s("Tessaryn v.") + Forms::Get<frmProcess>().ProgramVersion + s(" - [") + GetLangText(s("mes189"))
                   + s("]"));
    SetToolbarCaptions(Toolbar1, toolbarButtons_, ToolbarEntries);
    Command4->setText(GetLangText(s("mes190")));
    Command5->setText(GetLangText(s("mes191")));
}

void frmNote::Form_Activate()
{
    // A closing window is loading the main window again: an activation met while
    // that load pumps events must not unload it under its own load routine.
    if (closing_)
        return;
    Forms::Unload<frmMain>();
    if (std::exchange(returningFromDialog_, false))
        return;
    Text1->setFocus();
    SelectAllText(Text1);
}

bool frmNote::Form_QueryUnload(UnloadMode mode)
{
    if (!saveBeforeLeaving())
        return true;
    closing_ = true;
    if (mode != UnloadMode::ControlMenu)
        frmMain::ReturnFrom(*this);
    return false;
}

void frmNote::Toolbar1_ButtonClick(int index)
{
    switch (index) {
    case 2: Forms::Unload(this); break;
    case 4: NewNote(); break;
    case 6: SaveNote(); break;
    case 8: OpenNoteFile(); break;
    case 10: ExportNote(); break;
    case 12: DeleteNote(); break;
    case 14:
        // The manager shows the root group afresh: the note is left first.
        if (saveBeforeLeaving())
            frmNoteGroupes::ShowFor(this);
        break;
    default: break;
    }
}

// ---- groups and the tree ----

void frmNote::FillGroups()
{
    {
        const QSignalBlocker blocker(Combo1);
        Combo1->clear();
        Combo1->addItem(GetLangText(s("mes325")));
        Combo1->addItems(GroupNames());
    }
    ChooseGroup(0);
}

void frmNote::ChooseGroup(int index)
{
    if (index < 0 || index >= Combo1->count())
        return;
    programChoice_ = true;
    SelectEntry(Combo1, index);
    programChoice_ = false;
}

QString frmNote::ChosenGroupFolder() const
{
    return GroupFolder(Combo1->currentIndex() > 0 ? Combo1->currentText() : QString());
}

void frmNote::Combo1_Click()
{
    const int chosen = Combo1->currentIndex();
    // A group the user chooses is left like a note: the changes are saved first, in
    // the group shown until now, or dropped on purpose; a save that does not
    // happen keeps that group shown.
    if (!programChoice_ && chosen != shownGroup_) {
        const QSignalBlocker blocker(Combo1);
        Combo1->setCurrentIndex(shownGroup_);
        if (!saveBeforeLeaving())
            return;
        Combo1->setCurrentIndex(chosen);
    }
    shownGroup_ = chosen;
    LoadNoteTree();
    RTB1->Clear();
    setTitle(QString());
    loadedFile_.clear();
}

void frmNote::refreshNoteList() { File1 = NoteFileNames(ChosenGroupFolder()); }

void frmNote::LoadNoteTree()
{
    Tree1->clear();
    auto* top = new QTreeWidgetItem(Tree1, {Combo1->currentText()});
    top->setData(0, Qt::UserRole, s("root"));
    refreshNoteList();
    for (const QString& fileName : std::as_const(File1)) {
        auto* node = new QTreeWidgetItem(top, {TitleOf(fileName)});
        node->setData(0, Qt::UserRole + 1, fileName);
    }
    top->setExpanded(true);
    Tree1->setCurrentItem(nullptr);
    Tree1->clearSelection();
}

QTreeWidgetItem* frmNote::NoteNode(const QString& fileName) const
{
    QTreeWidgetItem* top = Tree1->topLevelItem(0);
    for (int i = 0; top && i < top->childCount(); ++i) {
        if (top->child(i)->data(0, Qt::UserRole + 1).toString() == fileName)
            return top->child(i);
    }
    return nullptr;
}

void frmNote::selectNode(QTreeWidgetItem* node)
{
    Tree1->setFocus();
    if (node)
        Tree1->setCurrentItem(node);
}

bool frmNote::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Tree1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && Tree1->currentItem()) {
            Tree1_NodeClick(Tree1->currentItem());
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

// ---- the title box ----

void frmNote::setTitle(const QString& title) { Text1->setText(title); }

void frmNote::title_Edited(const QString& text)
{
    const TitleEdit edit = FilterTitleEdit(titleBefore_, text, TypedTitleLimit);
    if (edit.refused)
        QApplication::beep();
    if (edit.text != text) {
        Text1->setText(edit.text);
        Text1->setCursorPosition(edit.cursor);
    }
}

// ---- messages ----

int frmNote::ask(const QString& text, int buttons)
{
    const int answer = MsgBox(text, buttons, ProductName());
    keepFocusAfterDialog();
    return answer;
}

void frmNote::report(const char* messageKey) { ask(GetLangText(s(messageKey)), 48); }

void frmNote::keepFocusAfterDialog() { returningFromDialog_ = true; }
