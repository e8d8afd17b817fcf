#pragma once

// Shared set-up of the notes tests: the notes window opened from the main window,
// note files written and read back, and a tear-down that ends every window.

#include "test_mainwin_fixture.h"
#include "test_rtf_fixtures.h"

#include "platform/ColorChooser.h"
#include "platform/FileDialog.h"
#include "platform/FontChooser.h"
#include "platform/RichTextBox.h"
#include "tools/NoteStore.h"
#include "tools/frmNote.h"
#include "tools/frmNoteGroupes.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>

class NotesTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        MsgBoxScript::Clear();
        // A question no test expected is answered with its default button and logged.
        MsgBoxScript::SetAutomatic(true);
        FileDialog::ClearForTests();
        FontChooser::ClearForTests();
        ColorChooser::ClearForTests();
    }

    void TearDown() override
    {
        FileSystem::SetAtomicWriteFailsBeforeRename(false);
        MsgBoxScript::SetAutomatic(false);
        DeleteAllWindows();
    }

    // Opens the notes as the main window's toolbar does.
    static frmNote& open()
    {
        main().ShowModeless();
        main().Move(1500, 900);
        main().ToolbarButton(8)->trigger();
        return Forms::Get<frmNote>();
    }

    static void writeNote(const QString& path, const QString& text)
    {
        QTextDocument document;
        document.setPlainText(text);
        WriteFile(path, WriteRtf(document));
    }

    static QString noteText(const QString& path)
    {
        QTextDocument document;
        ReadRtf(ReadFile(path), &document);
        return document.toPlainText();
    }

    static QStringList titles(const frmNote& note)
    {
        QStringList result;
        const QTreeWidgetItem* top = note.Tree1->topLevelItem(0);
        for (int i = 0; top && i < top->childCount(); ++i)
            result.append(top->child(i)->text(0));
        return result;
    }

    static QTreeWidgetItem* node(const frmNote& note, const QString& title)
    {
        const QTreeWidgetItem* top = note.Tree1->topLevelItem(0);
        for (int i = 0; top && i < top->childCount(); ++i) {
            if (top->child(i)->text(0) == title)
                return top->child(i);
        }
        return nullptr;
    }

    // A note typed by the user: its title and its text.
    static void type(frmNote& note, const QString& title, const QString& text)
    {
        note.Text1->clear();
        note.Text1->insert(title);
        note.RTB1->clear();
        note.RTB1->insertPlainText(text);
    }

    static QStringList files(const QString& folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
};
