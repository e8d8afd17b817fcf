// The notes window's editor: its formatting buttons, the font and colour dialogs
// and the format label.

#include "core/Options.h"
#include "core/Resources.h"
#include "core/SourceText.h"
#include "frmNote.h"
#include "platform/ColorChooser.h"
#include "platform/Controls.h"
#include "platform/FontChooser.h"
#include "platform/RichTextBox.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <cmath>

namespace {

constexpr double LargestFontPoints = 24;

// "B", "I", "U" and "S", each drawn in the style it switches.
QToolButton* switchButton(QWidget* parent, const char* name, const char* caption, int left,
                          void (QFont::*style)(bool))
{
    auto* button = MakeControl<QToolButton>(parent, name, left, 1620, 450, 390);
    button->setText(QString::fromLatin1(caption));
    QFont font(s("Liberation Serif"));
    font.setPointSize(12);
    (font.*style)(true);
    button->setFont(font);
    return button;
}

QToolButton* alignmentButton(QWidget* parent, const char* name, int left, const char* picture)
{
    auto* button = MakeControl<QToolButton>(parent, name, left, 1620, 450, 390);
    button->setIcon(ToolbarIcon(s(picture)));
    button->setIconSize(QSize(18, 18));
    return button;
}

QPushButton* dialogButton(QWidget* parent, const char* name, int left)
{
    auto* button = MakeControl<QPushButton>(parent, name, left, 1620, 1320, 390);
    button->setAutoDefault(false);
    return button;
}

// Halves go to the even neighbour: 10.5 gives 10, 11.5 gives 12.
int roundHalfToEven(double value)
{
    const double floor = std::floor(value);
    const double rest = value - floor;
    const int lower = static_cast<int>(floor);
    if (rest > 0.5 || (rest == 0.5 && lower % 2 != 0))
        return lower + 1;
    return lower;
}

}  // namespace

void frmNote::buildEditor()
{
    Command1 = switchButton(this, "Command1", "B", 3840, &QFont::setBold);
    Command2 = switchButton(this, "Command2", "I", 4320, &QFont::setItalic);
    Command3 = switchButton(this, "Command3", "U", 4800, &QFont::setUnderline);
    Command9 = switchButton(this, "Command9", "S", 5280, &QFont::setStrikeOut);
    Command6 = alignmentButton(this, "Command6", 5880, "alignleft");
    Command7 = alignmentButton(this, "Command7", 6360, "aligncenter");
    Command8 = alignmentButton(this, "Command8", 6840, "alignright");
    Command4 = dialogButton(this, "Command4", 7440);
    Command5 = dialogButton(this, "Command5", 8880);
    connect(Command1, &QToolButton::clicked, this, &frmNote::Command1_Click);
    connect(Command2, &QToolButton::clicked, this, &frmNote::Command2_Click);
    connect(Command3, &QToolButton::clicked, this, &frmNote::Command3_Click);
    connect(Command9, &QToolButton::clicked, this, &frmNote::Command9_Click);
    connect(Command6, &QToolButton::clicked, this, &frmNote::Command6_Click);
    connect(Command7, &QToolButton::clicked, this, &frmNote::Command7_Click);
    connect(Command8, &QToolButton::clicked, this, &frmNote::Command8_Click);
    connect(Command4, &QPushButton::clicked, this, &frmNote::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmNote::Command5_Click);

    RTB1 = MakeControl<RichTextBox>(this, "RTB1", 3840, 2130, 8040, 4050);
    RTB1->document()->setDefaultFont(QFont(s("Liberation Sans"), 11));
    connect(RTB1, &QTextEdit::textChanged, this, [this] { NoteModified = true; });
    connect(RTB1, &QTextEdit::cursorPositionChanged, this, &frmNote::UpdateFormatLabel);
    connect(RTB1, &QTextEdit::selectionChanged, this, &frmNote::UpdateFormatLabel);
    Label1 = MakeControl<QLabel>(this, "Label1", 3840, 6240, 8040, 300);
}

void frmNote::Command1_Click()
{
    // A selection that mixes both is switched on throughout.
    RTB1->SetSelBold(!RTB1->SelBold().value_or(false));
    afterFormatting();
}

void frmNote::Command2_Click()
{
    RTB1->SetSelItalic(!RTB1->SelItalic().value_or(false));
    afterFormatting();
}

void frmNote::Command3_Click()
{
    RTB1->SetSelUnderline(!RTB1->SelUnderline().value_or(false));
    afterFormatting();
}

void frmNote::Command9_Click()
{
    RTB1->SetSelStrikeThru(!RTB1->SelStrikeThru().value_or(false));
    afterFormatting();
}

void frmNote::Command6_Click()
{
    RTB1->SetSelAlignment(ParagraphAlignment::Left);
    afterFormatting();
}

void frmNote::Command7_Click()
{
    RTB1->SetSelAlignment(ParagraphAlignment::Centre);
    afterFormatting();
}

void frmNote::Command8_Click()
{
    RTB1->SetSelAlignment(ParagraphAlignment::Right);
    afterFormatting();
}

void frmNote::Command4_Click()
{
    // The dialog starts from what the selection has one value of.
    QFont initial = RTB1->document()->defaultFont();
    if (const std::optional<QString> name = RTB1->SelFontName())
        initial.setFamily(*name);
    if (const std::optional<double> size = RTB1->SelFontSize())
        initial.setPointSizeF(std::min(*size, LargestFontPoints));
    initial.setBold(RTB1->SelBold().value_or(false));
    initial.setItalic(RTB1->SelItalic().value_or(false));
    const std::optional<QFont> chosen = FontChooser::Ask(this, initial, LargestFontPoints);
    keepFocusAfterDialog();
    if (chosen)
        RTB1->SetSelFont(*chosen);
    afterFormatting();
}

void frmNote::Command5_Click()
{
    const QColor current = RTB1->SelColor().value_or(QColor());
    const std::optional<QColor> chosen = ColorChooser::Ask(this, current.isValid() ? current : QColor(Qt::black));
    keepFocusAfterDialog();
    if (chosen)
        RTB1->SetSelColor(*chosen);
    afterFormatting();
}

void frmNote::afterFormatting()
{
    RTB1->setFocus();
    UpdateFormatLabel();
}

void frmNote::UpdateFormatLabel()
{
    const std::optional<QString> name = RTB1->SelFontName();
    const std::optional<double> size = RTB1->SelFontSize();
    if (!name || !size)
        return;
    const std::optional<bool> bold = RTB1->SelBold();
    const QString boldWord = !bold ? QString() : GetLangText(s(*bold ? "mes201" : "mes200"));
    Label1->setText(*name + s(", ") + boldWord + s(", ") + QString::number(roundHalfToEven(*size)) + s("px"));
}
