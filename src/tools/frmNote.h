#pragma once

#include "platform/Form.h"

#include <QList>
#include <QStringList>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class RichTextBox;

// The notes: a full-window view of one group's notes in a tree, the chosen note's
// title and its rich text with formatting buttons, and a toolbar to go back, start,
// save, import, export and delete a note and to manage the groups. It takes the
// main window's place while it is open.
class frmNote : public Form {
    Q_OBJECT
public:
    frmNote();
    ~frmNote() override;

    void Form_Load() override;
    void Form_Activate() override;
    bool Form_QueryUnload(UnloadMode mode) override;
    void ApplyLanguage();

    // Group chooser: entry 0 the root group, then the group folders. A choice made
    // by the program (ChooseGroup) drops unsaved changes without a question.
    void FillGroups();
    void ChooseGroup(int index);
    void Combo1_Click();
    // The folder of the chosen group.
    QString ChosenGroupFolder() const;

    void LoadNoteTree();
    QString MakeNewNoteName();
    void NewNote();
    // True when the note was written.
    bool SaveNote();
    void Tree1_NodeClick(QTreeWidgetItem* node);
    void DeleteNote();
    void OpenNoteFile();
    void ExportNote();

    // Buttons by their index from 1; the commands sit at 2, 4, ..., 14.
    void Toolbar1_ButtonClick(int index);
    QAction* ToolbarButton(int index) const;

    // Formatting of the editor's selection.
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command9_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void UpdateFormatLabel();

    QToolBar* Toolbar1 = nullptr;
    QComboBox* Combo1 = nullptr;
    QTreeWidget* Tree1 = nullptr;
    QLineEdit* Text1 = nullptr;
    RichTextBox* RTB1 = nullptr;
    QLabel* Label1 = nullptr;
    QToolButton* Command1 = nullptr;
    QToolButton* Command2 = nullptr;
    QToolButton* Command3 = nullptr;
    QToolButton* Command9 = nullptr;
    QToolButton* Command6 = nullptr;
    QToolButton* Command7 = nullptr;
    QToolButton* Command8 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    // The note list: the file names of the chosen group's notes.
    QStringList File1;

    bool NoteModified = false;
    bool NoteTitleEdited = false;
    bool NoteSaveDone = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolbar();
    void buildEditor();
    void afterFormatting();
    void refreshNoteList();
    // The note node of a file of the chosen group, or nullptr.
    QTreeWidgetItem* NoteNode(const QString& fileName) const;
    // The question before leaving a modified note: true to go on (saved or No),
    // false to stay (the save did not happen).
    bool saveBeforeLeaving();
    bool saveQuestionDue() const;
    bool loadNote(const QString& fileName);
    // The note's title and file after a load or a save.
    void showNote(const QString& fileName);
    void startNewNote();
    void selectNode(QTreeWidgetItem* node);
    void setTitle(const QString& title);
    void title_Edited(const QString& text);
    // A message box of this window. The activation that follows it, as the one that
    // follows every dialog, leaves the focus where the code put it.
    int ask(const QString& text, int buttons);
    void report(const char* messageKey);
    void keepFocusAfterDialog();

    QList<QAction*> toolbarButtons_;
    QString loadedFile_;       // the file the editor's note came from; "" for a new note
    QString titleBefore_;      // the title box's text before the user's edit
    int shownGroup_ = 0;       // the group the tree shows
    bool programChoice_ = false;
    bool closing_ = false;
    bool returningFromDialog_ = false;
};
