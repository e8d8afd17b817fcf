#include "RichTextBox.h"

#include "RtfReader.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextDocumentFragment>

RichTextBox::RichTextBox(QWidget* parent)
    : QTextEdit(parent)
{
    setAcceptRichText(true);
}

QByteArray RichTextBox::TextRTF() const { return WriteRtf(*document()); }

void RichTextBox::SetTextRTF(const QByteArray& data)
{
    document()->setUndoRedoEnabled(false);
    ReadRtf(data, document());
    document()->setUndoRedoEnabled(true);
    moveCursor(QTextCursor::Start);
}

template <class T, class Get>
std::optional<T> RichTextBox::common(Get get) const
{
    const QFont defaultFont = document()->defaultFont();
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return get(ResolveStyle(currentCharFormat(), defaultFont));
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    std::optional<T> value;
    for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() <= start || fragment.position() >= end)
                continue;
            const T here = get(ResolveStyle(fragment.charFormat(), defaultFont));
            if (value && *value != here)
                return std::nullopt;
            value = here;
        }
    }
    if (!value)  // only paragraph marks selected
        return get(ResolveStyle(currentCharFormat(), defaultFont));
    return value;
}

std::optional<bool> RichTextBox::SelBold() const
{
    return common<bool>([](const CharStyle& style) { return style.bold; });
}

std::optional<bool> RichTextBox::SelItalic() const
{
    return common<bool>([](const CharStyle& style) { return style.italic; });
}

std::optional<bool> RichTextBox::SelUnderline() const
{
    return common<bool>([](const CharStyle& style) { return style.underline; });
}

std::optional<bool> RichTextBox::SelStrikeThru() const
{
    return common<bool>([](const CharStyle& style) { return style.strike; });
}

std::optional<QString> RichTextBox::SelFontName() const
{
    return common<QString>([](const CharStyle& style) { return style.family; });
}

std::optional<double> RichTextBox::SelFontSize() const
{
    return common<double>([](const CharStyle& style) { return style.points; });
}

std::optional<QColor> RichTextBox::SelColor() const
{
    return common<QColor>([](const CharStyle& style) { return style.colour; });
}

void RichTextBox::SetSelBold(bool on)
{
    QTextCharFormat format;
    format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeCurrentCharFormat(format);
}

void RichTextBox::SetSelItalic(bool on)
{
    QTextCharFormat format;
    format.setFontItalic(on);
    mergeCurrentCharFormat(format);
}

void RichTextBox::SetSelUnderline(bool on)
{
    QTextCharFormat format;
    format.setFontUnderline(on);
    mergeCurrentCharFormat(format);
}

void RichTextBox::SetSelStrikeThru(bool on)
{
    QTextCharFormat format;
    format.setFontStrikeOut(on);
    mergeCurrentCharFormat(format);
}

void RichTextBox::SetSelFont(const QFont& font)
{
    QTextCharFormat format;
    SetFontFamily(format, font.family());
    format.setFontWeight(font.bold() ? QFont::Bold : QFont::Normal);
    format.setFontItalic(font.italic());
    if (font.pointSizeF() > 0)
        format.setFontPointSize(font.pointSizeF());
    mergeCurrentCharFormat(format);
}

void RichTextBox::SetSelColor(const QColor& colour)
{
    QTextCharFormat format;
    format.setForeground(colour);
    mergeCurrentCharFormat(format);
}

void RichTextBox::SetSelAlignment(ParagraphAlignment alignment)
{
    static constexpr Qt::Alignment flags[] = {Qt::AlignLeft | Qt::AlignAbsolute, Qt::AlignHCenter,
                                              Qt::AlignRight | Qt::AlignAbsolute, Qt::AlignJustify};
    setAlignment(flags[static_cast<int>(alignment)]);
}

void RichTextBox::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasHtml()) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    // Through RTF and back: what comes out is what a note can keep.
    QTextDocument pasted;
    pasted.setDefaultFont(document()->defaultFont());
    pasted.setHtml(source->html());
    QTextDocument kept;
    kept.setDefaultFont(document()->defaultFont());
    ReadRtf(WriteRtf(pasted), &kept);
    QTextCursor cursor = textCursor();
    cursor.insertFragment(QTextDocumentFragment(&kept));
    setTextCursor(cursor);
}
