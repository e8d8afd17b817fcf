#include "frmMain.h"

#include "core/Colors.h"
#include "core/Formats.h"
#include "core/WindowHelpers.h"
#include "platform/Clock.h"
#include "platform/Controls.h"

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QSignalBlocker>

namespace {

// The grid in the calendar panel's coordinates, twips.
constexpr int ColumnLefts[7] = {120, 495, 855, 1215, 1575, 1935, 2295};
constexpr int RowTops[6] = {780, 1065, 1350, 1635, 1920, 2195};
constexpr int PicDaySize = 285;
constexpr int TextDayWidth = 255;

// The year list spans ten years either side of this year.
constexpr int YearsAround = 10;

// Day numbers in Times New Roman 11.25 pt bold (Liberation Serif has its metrics).
// The size is in pixels, 11.25 pt at 96 dpi, so that two digits always fit the cell
// laid out in twips.
QFont dayFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")});
    font.setPixelSize(15);
    font.setBold(true);
    return font;
}

// Marks a drawing in progress for as long as it lives.
class Redrawing {
public:
    explicit Redrawing(bool& flag)
        : flag_(flag)
        , was_(flag)
    {
        flag_ = true;
    }
    ~Redrawing() { flag_ = was_; }

private:
    bool& flag_;
    bool was_;
};

}  // namespace

void frmMain::buildCalendar(QWidget* panel)
{
    ComboMonth = new QComboBox(panel);
    ComboMonth->setObjectName(QStringLiteral("ComboMonth"));
    Place(ComboMonth, 120, 120, 1440, 330);
    connect(ComboMonth, &QComboBox::currentIndexChanged, this, [this] { ComboMonth_Click(); });

    ComboYears = new QComboBox(panel);
    ComboYears->setObjectName(QStringLiteral("ComboYears"));
    Place(ComboYears, 1620, 120, 1020, 330);
    connect(ComboYears, &QComboBox::currentIndexChanged, this, [this] { DrawMonth(); });

    QFont captionFont = panel->font();
    captionFont.setPixelSize(11);
    static const char* const captionNames[7] = {"Label44", "Label7", "Label8", "Label9",
                                                "Label10", "Label11", "Label12"};
    for (int column = 0; column < 7; ++column) {
        auto* caption = new QLabel(panel);
        caption->setObjectName(QString::fromLatin1(captionNames[column]));
        caption->setAlignment(Qt::AlignCenter);
        caption->setFont(captionFont);
        Place(caption, ColumnLefts[column] - 45, 525, 375, 240);
        WeekdayCaptions[column] = caption;
    }

    const QFont font = dayFont();
    for (int cell = 0; cell < DayCellCount; ++cell) {
        auto* picture = new QWidget(panel);
        picture->setObjectName(QStringLiteral("PicDay%1").arg(cell));
        QPalette white = picture->palette();
        white.setColor(QPalette::Window, Qt::white);
        picture->setPalette(white);
        picture->setAutoFillBackground(true);
        Place(picture, ColumnLefts[cell % 7], RowTops[cell / 7], PicDaySize, PicDaySize);
        auto* text = new QLabel(picture);
        text->setObjectName(QStringLiteral("TextDay%1").arg(cell));
        text->setFont(font);
        text->setAlignment(Qt::AlignCenter);
        Place(text, 0, 0, TextDayWidth, PicDaySize);
        PicDay[cell] = picture;
        TextDay[cell] = text;
    }

    Label43 = new QLabel(panel);
    Label43->setObjectName(QStringLiteral("Label43"));
    Label43->setCursor(Qt::PointingHandCursor);
    QFont link = Label43->font();
    link.setUnderline(true);
    Label43->setFont(link);
    QPalette blue = Label43->palette();
    blue.setColor(QPalette::WindowText, ColorFromBgr(0xC00000));
    Label43->setPalette(blue);
    Place(Label43, 120, 2565, 1080, 270);
    OnClick(Label43, [this] { Label43_Click(); });

    LabelToday = new QLabel(panel);
    LabelToday->setObjectName(QStringLiteral("LabelToday"));
    LabelToday->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Place(LabelToday, 1260, 2565, 1380, 270);
}

void frmMain::setDayColour(int cell, quint32 colour)
{
    dayColour_[cell] = colour;
    QPalette palette = TextDay[cell]->palette();
    palette.setColor(QPalette::WindowText, ColorFromBgr(colour));
    TextDay[cell]->setPalette(palette);
}

void frmMain::ClearDays()
{
    for (int cell = 0; cell < DayCellCount; ++cell) {
        setDayColour(cell, PlainDayColour);
        TextDay[cell]->hide();
    }
}

void frmMain::fillMonthCells(int year, int month)
{
    const int offset = MonthOffset(year, month, SundayFirst());
    const int days = DaysInMonth(year, month);
    for (int day = 1; day <= days; ++day) {
        QLabel* cell = TextDay[offset + day - 1];
        cell->setText(QString::number(day));
        cell->show();
    }
}

void frmMain::DrawMonth()
{
    if (!isVisible())
        return;
    const Redrawing drawing(redrawing_);
    QPointer<frmMain> self(this);
    Forms::DoEvents();
    if (!self || IsUnloading())
        return;
    ClearDays();
    // A combo without a selection (being filled) has no month to draw.
    if (ComboYears->currentIndex() < 0 || ComboMonth->currentIndex() < 0)
        return;
    fillMonthCells(ComboYears->currentText().toInt(), ComboMonth->currentIndex() + 1);
    ColorDates();
    SetBaloons();
}

void frmMain::ComboMonth_Click()
{
    if (!isVisible())
        return;
    const Redrawing drawing(redrawing_);
    QPointer<frmMain> self(this);
    Forms::DoEvents();
    if (self && !IsUnloading())
        DrawMonth();
}

void frmMain::ShowToday()
{
    const Redrawing drawing(redrawing_);
    if (!selectToday())
        return;
    ColorDates();
    SetBaloons();
}

bool frmMain::selectToday()
{
    const Redrawing drawing(redrawing_);
    QPointer<frmMain> self(this);
    const QDate today = Clock::Today();
    ComboMonth->setCurrentIndex(today.month() - 1);
    if (!self)
        return false;
    {
        const QSignalBlocker blocker(ComboYears);
        ComboYears->clear();
        for (int year = today.year() - YearsAround; year <= today.year() + YearsAround; ++year)
            ComboYears->addItem(QString::number(year));
        ComboYears->setCurrentIndex(-1);
    }
    ComboYears->setCurrentIndex(YearsAround);
    if (!self)
        return false;
    labelTodayDate_ = today;
    LabelToday->setText(DateText(today));
    fillMonthCells(today.year(), today.month());
    return true;
}

void frmMain::Label43_Click()
{
    QPointer<frmMain> self(this);
    ComboMonth->setCurrentIndex(labelTodayDate_.month() - 1);
    if (self)
        ComboYears->setCurrentIndex(YearsAround);
}

void frmMain::Label3_Click() { ShowToday(); }
