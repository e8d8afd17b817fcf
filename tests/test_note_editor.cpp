// The note editor's formatting: the switches on mixed selections, alignment, the
// font and colour dialogs with their cancel, the format label and the Tab key.

#include "test_notes_fixture.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QTextBlock>

namespace {

class NoteEditorTest : public NotesTest {
protected:
    // "plain bold" in 12-point Liberation Serif, the second word bold, all selected.
    frmNote& openWithMixedText()
    {
        frmNote& note = open();
        QTextCursor cursor(note.RTB1->document());
        QTextCharFormat format;
        format.setFontFamilies({s("Liberation Serif")});
        format.setFontPointSize(12);
        cursor.insertText(s("plain "), format);
        format.setFontWeight(QFont::Bold);
        cursor.insertText(s("bold"), format);
        note.RTB1->selectAll();
        return note;
    }
};

TEST_F(NoteEditorTest, ASwitchOnAMixedSelectionSwitchesItOnThroughout)
{
    frmNote& note = openWithMixedText();
    EXPECT_EQ(note.Label1->text(), s("Liberation Serif, , 12px"));
    const struct {
        QAbstractButton* button;
        std::function<std::optional<bool>()> state;
    } switches[] = {
        {note.Command1, [&] { return note.RTB1->SelBold(); }},
        {note.Command2, [&] { return note.RTB1->SelItalic(); }},
        {note.Command3, [&] { return note.RTB1->SelUnderline(); }},
        {note.Command9, [&] { return note.RTB1->SelStrikeThru(); }},
    };
    for (const auto& sw : switches) {
        sw.button->click();
        EXPECT_EQ(sw.state(), true) << sw.button->objectName().toStdString();
        sw.button->click();
        EXPECT_EQ(sw.state(), false) << sw.button->objectName().toStdString();
    }
    EXPECT_EQ(note.Label1->text(), s("Liberation Serif, Regular, 12px"));
    EXPECT_EQ(note.Command1->font().bold(), true);
    EXPECT_EQ(note.Command9->font().strikeOut(), true);

    const struct {
        QAbstractButton* button;
        ParagraphAlignment alignment;
    } alignments[] = {{note.Command7, ParagraphAlignment::Centre},
                      {note.Command8, ParagraphAlignment::Right},
                      {note.Command6, ParagraphAlignment::Left}};
    for (const auto& a : alignments) {
        a.button->click();
        EXPECT_EQ(ResolveAlignment(note.RTB1->document()->begin().blockFormat()), a.alignment);
    }
}

TEST_F(NoteEditorTest, TheDialogsChangeTheSelectionAndCancellingThemChangesNothing)
{
    frmNote& note = openWithMixedText();
    const QByteArray before = note.RTB1->TextRTF();
    FontChooser::PushResult(std::nullopt);
    note.Command4->click();
    ColorChooser::PushResult(std::nullopt);
    note.Command5->click();
    EXPECT_EQ(note.RTB1->TextRTF(), before);

    FontChooser::PushResult(QFont(s("Liberation Sans"), 30, QFont::Bold));
    note.Command4->click();
    EXPECT_EQ(note.RTB1->SelFontName(), s("Liberation Sans"));
    EXPECT_EQ(note.RTB1->SelFontSize(), 24);
    EXPECT_EQ(note.RTB1->SelBold(), true);
    ColorChooser::PushResult(QColor(Qt::red));
    note.Command5->click();
    EXPECT_EQ(note.RTB1->SelColor(), QColor(Qt::red));
    EXPECT_EQ(note.Label1->text(), s("Liberation Sans, Bold, 24px"));
    EXPECT_TRUE(note.NoteModified);

    // Half sizes go to the even neighbour; a selection without one size keeps the label.
    for (const auto& [points, shown] : {std::pair{10.5, "10px"}, std::pair{11.5, "12px"}}) {
        QTextCharFormat size;
        size.setFontPointSize(points);
        note.RTB1->mergeCurrentCharFormat(size);
        note.UpdateFormatLabel();
        EXPECT_TRUE(note.Label1->text().endsWith(s(shown))) << shown;
    }
    QTextCursor first(note.RTB1->document());
    first.setPosition(0);
    first.setPosition(1, QTextCursor::KeepAnchor);
    QTextCharFormat other;
    other.setFontPointSize(8);
    first.mergeCharFormat(other);
    note.UpdateFormatLabel();
    EXPECT_TRUE(note.Label1->text().endsWith(s("12px")));
}

TEST_F(NoteEditorTest, TabTypesATabInTheEditor)
{
    frmNote& note = open();
    note.RTB1->setFocus();
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, s("\t"));
    QApplication::sendEvent(note.RTB1, &tab);
    EXPECT_EQ(note.RTB1->toPlainText(), s("\t"));
}

}  // namespace
