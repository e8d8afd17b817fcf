#include "RichTextBox.h"

#include "RtfReader.h"

#include <QCoreApplication>
#include <QMimeData>
#include <QPointer>
#include <QSemaphore>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QThreadPool>

#include <atomic>

namespace {
// Data up to this size is read at once: a few milliseconds.
constexpr qsizetype ReadAtOnce = 256 * 1024;
}  // namespace

// A reading on a worker thread of the program's pool. The thread touches nothing but
// this; the box takes the document once it is read, or it ends with the last owner.
struct RtfLoad {
    QByteArray data;
    QFont font;
    std::unique_ptr<QTextDocument> document;
    QSemaphore read;  // released once the document is read and belongs to the box's thread
    std::atomic<bool> dropped = false;
};

RichTextBox::RichTextBox(QWidget* parent)
    : QTextEdit(parent)
{
    setAcceptRichText(true);
}

RichTextBox::~RichTextBox() { dropLoading(); }

QByteArray RichTextBox::TextRTF()
{
    FinishLoading();
    return WriteRtf(*document());
}

namespace {

// A document read apart, set up as the box's documents are.
std::unique_ptr<QTextDocument> readDocument(const QByteArray& data, const QFont& font)
{
    auto made = std::make_unique<QTextDocument>();
    made->setDefaultFont(font);
    made->setUndoRedoEnabled(false);
    ReadRtf(data, made.get());
    return made;
}

}  // namespace

void RichTextBox::showDocument(std::unique_ptr<QTextDocument> shown)
{
    shown->setUndoRedoEnabled(true);
    shown->setParent(this);
    // The box's first document belongs to its text control, which ends it itself.
    QTextDocument* previous = document()->parent() == this ? document() : nullptr;
    setDocument(shown.release());
    // At once: a document left to a later turn goes on being laid out meanwhile.
    delete previous;
    moveCursor(QTextCursor::Start);
}

void RichTextBox::SetTextRTF(const QByteArray& data)
{
    dropLoading();
    showDocument(readDocument(data, document()->defaultFont()));
}

void RichTextBox::LoadTextRTF(const QByteArray& data)
{
    if (data.size() <= ReadAtOnce) {
        SetTextRTF(data);
        emit Loaded();
        return;
    }
    Clear();
    setReadOnly(true);
    auto load = std::make_shared<RtfLoad>();
    load->data = data;
    load->font = document()->defaultFont();
    load_ = load;
    // The document is made and read there, then given to this thread, where the box
    // takes it.
    QThreadPool::globalInstance()->start([load, here = thread(), box = QPointer<RichTextBox>(this)]() mutable {
        load->document = readDocument(load->data, load->font);
        if (load->dropped)
            load->document.reset();
        else
            load->document->moveToThread(here);
        load->read.release();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [load, box = std::move(box)] {
                if (box)
                    box->loadFinished(load);
            },
            Qt::QueuedConnection);
    });
}

void RichTextBox::loadFinished(std::shared_ptr<RtfLoad> load)
{
    if (load != load_)
        return;
    load_.reset();
    setReadOnly(false);
    {
        // The box shows the document the load asked for: no change of the user's.
        const QSignalBlocker blocker(this);
        showDocument(std::move(load->document));
    }
    emit Loaded();
}

void RichTextBox::FinishLoading()
{
    if (!load_)
        return;
    load_->read.acquire();
    loadFinished(load_);
}

void RichTextBox::dropLoading()
{
    if (!load_)
        return;
    load_->dropped = true;
    load_.reset();
    setReadOnly(false);
}

void RichTextBox::Clear()
{
    dropLoading();
    clear();
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

