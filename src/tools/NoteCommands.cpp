// The notes window's commands on the note store: new, save, open from the tree,
// delete, import and export.

#include "NoteStore.h"
#include "core/Options.h"
#include "core/SourceText.h"
#include "core/WindowHelpers.h"
#include "core/frmProcess.h"
#include "frmNote.h"
#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"
#include "platform/MsgBox.h"
#include "platform/RichTextBox.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QTreeWidget>

namespace {

QString quoted(const QString& title) { return s("\"") + title + s("\""); }

QString fileFilter() { return GetLangText(s("mes193")) + s(" Tessaryn|*.rtf"); }

// The message of a file that was not read: one too large for a note is left as it
// is, and the editor keeps what it holds.
const char* readFailure(NoteRead read)
{
    switch (read) {
    case NoteRead::Read: return nullptr;
    case NoteRead::TooLarge: return "mes398";
    case NoteRead::Failed: break;
    }
    return "mes357";
}

}  // namespace

// A note still being read is not empty.
bool frmNote::saveQuestionDue() const { return NoteModified && (RTB1->Loading() || !RTB1->document()->isEmpty()); }

bool frmNote::saveBeforeLeaving()
{
    if (!saveQuestionDue())
        return true;
    if (ask(GetLangText(s("mes197")) + s(" ") + quoted(Text1->text()) + s("?"), 36) != vbYes)
        return true;
    SaveNote();
    return !NoteModified;
}

QString frmNote::MakeNewNoteName()
{
    refreshNoteList();
    const QTreeWidgetItem* top = Tree1->topLevelItem(0);
    const int nodes = top ? 1 + top->childCount() : 1;
    return NextNoteName(GetLangText(s("mes193")), nodes, File1);
}

void frmNote::startNewNote()
{
    setTitle(MakeNewNoteName());
    RTB1->Clear();
    loadedFile_.clear();
    Text1->setFocus();
    SelectAllText(Text1);
    NoteTitleEdited = true;
}

void frmNote::NewNote()
{
    if (!saveBeforeLeaving())
        return;
    startNewNote();
}

bool frmNote::SaveNote()
{
    // A typed title loses its blanks at both ends; one the program set from a file
    // name stays as it is.
    const QString title = NoteTitleEdited ? Text1->text().trimmed() : Text1->text();
    if (title.isEmpty()) {
        report("mes326");
        return false;
    }
    if (!IsStorableName(title, s(".rtf"))) {
        report("mes355");
        return false;
    }
    if (title != Text1->text())
        setTitle(title);
    refreshNoteList();

    // The file the title names: an existing note of that title in any letter case
    // keeps its own file name.
    QString fileName = NoteTitleEdited || loadedFile_.isEmpty() ? title + s(".rtf") : loadedFile_;
    if (NoteTitleEdited) {
        const qsizetype existing = FindNote(File1, title);
        if (existing >= 0) {
            if (ask(GetLangText(s("mes199")), 52) != vbYes) {
                // Nothing is written, and the typed text stays for another title.
                NoteSaveDone = false;
                Text1->setFocus();
                SelectAllText(Text1);
                return false;
            }
            fileName = File1.at(existing);
            Tree1->setFocus();
        }
    }
    if (!WriteNoteFile(ChosenGroupFolder() + s("/") + fileName, RTB1->TextRTF())) {
        report("mes356");
        return false;
    }
    LoadNoteTree();
    Tree1->setCurrentItem(NoteNode(fileName));
    if (Text1->text() != TitleOf(fileName))
        setTitle(TitleOf(fileName));
    showNote(fileName);
    NoteSaveDone = true;
    return true;
}

void frmNote::showNote(const QString& fileName)
{
    loadedFile_ = fileName;
    NoteModified = false;
    NoteTitleEdited = false;
}

bool frmNote::loadNote(const QString& fileName)
{
    QByteArray data;
    if (const char* failure = readFailure(ReadNoteFile(ChosenGroupFolder() + s("/") + fileName, &data))) {
        report(failure);
        return false;
    }
    RTB1->LoadTextRTF(data);
    setTitle(TitleOf(fileName));
    showNote(fileName);
    return true;
}

void frmNote::Tree1_NodeClick(QTreeWidgetItem* node)
{
    if (!node)
        return;
    const bool top = node->parent() == nullptr;
    const QString fileName = node->data(0, Qt::UserRole + 1).toString();
    // The save rebuilds the tree: the clicked node is found again by its file.
    if (!saveBeforeLeaving()) {
        selectNode(NoteNode(loadedFile_));
        return;
    }
    QTreeWidgetItem* clicked = top ? Tree1->topLevelItem(0) : NoteNode(fileName);
    if (!clicked)
        return;
    selectNode(clicked);
    if (top)
        selectNode(clicked->child(0));
    else
        loadNote(fileName);
}

void frmNote::DeleteNote()
{
    Tree1->setFocus();
    QTreeWidgetItem* top = Tree1->topLevelItem(0);
    if (!top || top->childCount() == 0)
        return;
    QTreeWidgetItem* node = Tree1->currentItem();
    if (!node || !node->isSelected() || node == top) {
        report("mes194");
        return;
    }
    const QString fileName = node->data(0, Qt::UserRole + 1).toString();
    if (ask(GetLangText(s("mes195")) + s(": ") + quoted(node->text(0)) + s("?"), 36) != vbYes)
        return;
    if (!FileSystem::RemoveFile(ChosenGroupFolder() + s("/") + fileName)) {
        report("mes194");
        return;
    }
    const bool editorHeldDeleted = fileName == loadedFile_;
    if (editorHeldDeleted)
        loadedFile_.clear();
    LoadNoteTree();
    // Unsaved changes of another note are not replaced without the question.
    if (!editorHeldDeleted && !saveBeforeLeaving())
        return;
    top = Tree1->topLevelItem(0);
    if (top->childCount() > 0) {
        selectNode(top->child(0));
        loadNote(top->child(0)->data(0, Qt::UserRole + 1).toString());
    } else if (editorHeldDeleted) {
        NewNote();
    } else {
        startNewNote();
    }
}

void frmNote::OpenNoteFile()
{
    const QString chosen = Forms::Get<frmProcess>().CDlg(this, 1, GetLangText(s("mes196")), QString(),
                                                         ChosenGroupFolder() + s("/"), s("6150"), fileFilter(), true);
    keepFocusAfterDialog();
    if (chosen.isEmpty() || chosen == s("Error") || !saveBeforeLeaving())
        return;
    QByteArray data;
    if (const char* failure = readFailure(ReadNoteFile(chosen, &data))) {
        report(failure);
        return;
    }
    QString title = QFileInfo(chosen).fileName();
    if (title.endsWith(s(".rtf"), Qt::CaseInsensitive))
        title.chop(4);
    setTitle(WithoutRefusedCharacters(title).trimmed());
    RTB1->LoadTextRTF(data);
    // An imported note is a new note of the chosen group.
    loadedFile_.clear();
    Tree1->setCurrentItem(nullptr);
    Tree1->clearSelection();
}

void frmNote::ExportNote()
{
    const QString chosen =
        Forms::Get<frmProcess>().CDlg(this, 2, GetLangText(s("mes198")), Text1->text() + s(".rtf"),
                                      KnownFolders::UserProfileFolder(), s("6150"), fileFilter(), true);
    keepFocusAfterDialog();
    if (chosen.isEmpty() || chosen == s("Error"))
        return;
    if (!WriteNoteFile(chosen, RTB1->TextRTF(), FileSystem::FileMode::Ordinary)) {
        report("mes356");
        return;
    }
    const bool modified = NoteModified;
    LoadNoteTree();
    selectNode(NoteNode(loadedFile_));
    NoteModified = modified;
}
