#include "FittedText.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QTextLayout>

namespace {

const char* const FittedProperty = "fittedText";

QRect textRect(const QLabel* label)
{
    const int margin = label->margin();
    return label->contentsRect().adjusted(margin, margin, -margin, -margin);
}

// The text broken into lines between words, as wide as the box allows.
QStringList wrappedLines(const QString& text, const QFont& font, int width)
{
    QString laidOut = text;
    laidOut.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(laidOut, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        QString part = text.mid(line.textStart(), line.textLength());
        while (!part.isEmpty() && part.back().isSpace())
            part.chop(1);
        lines.append(part);
    }
    layout.endLayout();
    return lines;
}

// The label's lines within its box; lines beyond its height join the last one that
// fits, and a line too wide ends in "…".
QStringList fit(const QLabel* label, bool* cut)
{
    const QRect box = textRect(label);
    const QFontMetrics metrics = label->fontMetrics();
    const int width = box.width();
    QStringList lines = label->wordWrap() ? wrappedLines(label->text(), label->font(), width)
                                          : label->text().split(QLatin1Char('\n'));
    const qsizetype room = std::max(1, box.height() / metrics.lineSpacing());
    if (lines.size() > room) {
        const QString last = lines.mid(room - 1).join(QLatin1Char(' '));
        lines.resize(room - 1);
        lines.append(last);
    }
    for (QString& line : lines) {
        if (metrics.horizontalAdvance(line) <= width)
            continue;
        line = metrics.elidedText(line, Qt::ElideRight, width);
        if (cut)
            *cut = true;
    }
    return lines;
}

class TextFitter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* label = qobject_cast<QLabel*>(watched);  // none while it is being destroyed
        if (!label)
            return false;
        if (event->type() == QEvent::ToolTip)
            label->setToolTip(IsTextCut(label) ? label->text() : QString());
        if (event->type() != QEvent::Paint)
            return false;
        paint(label);
        return true;
    }

private:
    static void paint(QLabel* label)
    {
        const QStringList lines = FittedLines(label);
        label->setToolTip(IsTextCut(label) ? label->text() : QString());
        QPainter painter(label);
        painter.setFont(label->font());
        const QRect box = textRect(label);
        const int spacing = label->fontMetrics().lineSpacing();
        const Qt::Alignment align = label->alignment();
        const int height = static_cast<int>(lines.size()) * spacing;
        int top = box.top();
        if (align & Qt::AlignVCenter)
            top += (box.height() - height) / 2;
        else if (align & Qt::AlignBottom)
            top += box.height() - height;
        for (const QString& line : lines) {
            label->style()->drawItemText(&painter, QRect(box.left(), top, box.width(), spacing),
                                         (align & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter, label->palette(),
                                         label->isEnabled(), line, label->foregroundRole());
            top += spacing;
        }
    }
};

}  // namespace

void FitText(QLabel* label)
{
    static QPointer<TextFitter> fitter;
    if (!fitter)
        fitter = new TextFitter(QCoreApplication::instance());
    if (IsFitted(label))
        return;
    label->setProperty(FittedProperty, true);
    label->installEventFilter(fitter);
    label->update();
}

bool IsFitted(const QLabel* label) { return label->property(FittedProperty).toBool(); }

QStringList FittedLines(const QLabel* label) { return fit(label, nullptr); }

bool IsTextCut(const QLabel* label)
{
    bool cut = false;
    fit(label, &cut);
    return cut;
}
