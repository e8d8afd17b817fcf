// Pictures of the notes window with a note in every format and of the group
// manager in both modes, in English and in Russian, and the check that every
// caption fits its control.

#include "test_notes_fixture.h"
#include "test_screens.h"

#include <QRadioButton>
#include <QTabWidget>

namespace {

class NoteScreens : public NotesTest, public ::testing::WithParamInterface<const char*> {
protected:
    QString Language() const override { return s(GetParam()); }
};

TEST_P(NoteScreens, NotesAndGroupManager)
{
    QDir().mkpath(NotesFolder() + s("/Work"));
    QDir().mkpath(NotesFolder() + s("/Holidays and travel plans"));
    for (const char* title : {"Shopping", "Ideas for the garden", "Recipes"})
        writeNote(NotesFolder() + s("/") + s(title) + s(".rtf"), s(title));
    frmNote& note = open();
    note.Tree1_NodeClick(node(note, s("Ideas for the garden")));
    QTextDocument every;
    QTextCursor cursor(&every);
    const auto add = [&cursor](const char* text, const std::function<void(QTextCharFormat&)>& edit) {
        QTextCharFormat format;
        format.setFontFamilies({s("Liberation Sans")});
        format.setFontPointSize(11);
        edit(format);
        cursor.insertText(s(text), format);
    };
    add("Bold, ", [](auto& f) { f.setFontWeight(QFont::Bold); });
    add("italic, ", [](auto& f) { f.setFontItalic(true); });
    add("underlined, ", [](auto& f) { f.setFontUnderline(true); });
    add("struck out", [](auto& f) { f.setFontStrikeOut(true); });
    cursor.insertBlock();
    add("Serif 16\tafter a tab", [](auto& f) {
        f.setFontFamilies({s("Liberation Serif")});
        f.setFontPointSize(16);
    });
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.insertBlock(centred);
    add("Centred in red", [](auto& f) { f.setForeground(QColor(200, 30, 30)); });
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    cursor.insertBlock(right);
    add("Right, Привет", [](auto& f) { f.setForeground(QColor(30, 90, 200)); });
    note.RTB1->SetTextRTF(WriteRtf(every));
    note.RTB1->moveCursor(QTextCursor::End);
    note.Text1->setFocus();
    SaveScreen(note, s("notes-") + Language());
    CheckCaptionsFit(note, "notes");

    frmNoteGroupes& groups = Forms::Get<frmNoteGroupes>();
    groups.show();
    groups.Text1Name->setText(s("Birthdays"));
    SaveScreen(groups, s("note-groups-create-") + Language());
    CheckCaptionsFit(groups, "note-groups-create");
    groups.Option2->setChecked(true);
    SaveScreen(groups, s("note-groups-delete-") + Language());
    CheckCaptionsFit(groups, "note-groups-delete");
    EXPECT_LE(groups.tbsOptions->tabBar()->sizeHint().width(), groups.tbsOptions->width());
}

INSTANTIATE_TEST_SUITE_P(Languages, NoteScreens, ::testing::Values("English", "Russian"));

}  // namespace
