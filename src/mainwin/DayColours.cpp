#include "frmMain.h"

#include "core/Colors.h"
#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/FittedText.h"
#include "core/Formats.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/WindowHelpers.h"
#include "core/frmProcess.h"
#include "platform/Clock.h"
#include "platform/Controls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include <algorithm>
#include <vector>

namespace {

constexpr int PanelIconSize = 32;

const QString QuickReminder = QStringLiteral("_QM_");

// The events of one month, in table order, each with the category label of its
// line in a day tooltip. Only that month's rows are read: the table may hold many,
// and a month thousands.
QList<DayEvent> readMonthEvents(int year, int month)
{
    Connection& db = DataEnvironment1().Connection1;
    OpenIfClosed(db);
    const frmProcess& process = Forms::Get<frmProcess>();
    const QString stored[3] = {process.BuiltInMeasure1, process.BuiltInMeasure2, process.BuiltInMeasure3};
    const QString shown[3] = {GetOwnText(QStringLiteral("evn1")), GetOwnText(QStringLiteral("evn2")),
                              GetOwnText(QStringLiteral("evn3"))};
    const QString quick = GetLangText(QStringLiteral("mes3"));
    // The labels of the few categories the rows repeat, worked out once each.
    QList<std::pair<QByteArray, QString>> labels;
    auto labelOf = [&](QByteArrayView category) {
        for (const auto& [name, label] : std::as_const(labels)) {
            if (name == category)
                return label;
        }
        QString label = QString::fromUtf8(category);
        if (label == QuickReminder) {
            label = quick;
        } else {
            for (int b = 0; b < 3; ++b) {
                if (!stored[b].isEmpty() && label == stored[b]) {
                    label = shown[b];
                    break;
                }
            }
        }
        labels.append({category.toByteArray(), label});
        return label;
    };
    const QDate first(year, month, 1);
    std::vector<std::pair<qint64, DayEvent>> read;
    // In the date index's order, without a sort in the query; table order follows.
    const DbResult result = db.ForEachRow(
        QStringLiteral("SELECT Measure_Name, Step_Name, Step_Date, Step_Numeric FROM lst_Dates "
                       "WHERE Step_Date >= ? AND Step_Date < ?"),
        {first.toString(Qt::ISODate), first.addMonths(1).toString(Qt::ISODate)}, [&](const RowReader& row) {
            read.push_back({row.Integer(3), {labelOf(row.Utf8(0)), row.Text(1), row.Date(2)}});
        });
    // A month drawn without its events would say that none are due.
    if (!result.Ok())
        DatabaseFailure(db, result);
    std::sort(read.begin(), read.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<DayEvent> list;
    list.reserve(qsizetype(read.size()));
    for (auto& [id, event] : read)
        list.append(std::move(event));
    return list;
}

}  // namespace

void frmMain::buildNearestEvent(QWidget* panel)
{
    Image4 = new QLabel(panel);
    Image4->setObjectName(QStringLiteral("Image4"));
    Image4->setAlignment(Qt::AlignCenter);
    Image4->setFixedSize(PanelIconSize, PanelIconSize);
    Label1 = new QLabel(panel);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label2 = new QLabel(panel);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label19 = new QLabel(panel);
    Label19->setObjectName(QStringLiteral("Label19"));
    Label19->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The category (or a longer language's "nothing planned") may take three lines;
    // the date and the title then move down. Every text ends in "…" where it runs
    // out of room and is shown whole as a tooltip.
    Label1->setWordWrap(true);
    Label19->setWordWrap(true);
    for (QLabel* label : {Label1, Label2, Label19}) {
        FitText(label);
        QSizePolicy policy(QSizePolicy::Ignored, label == Label19 ? QSizePolicy::Ignored : QSizePolicy::Preferred);
        policy.setHeightForWidth(label->wordWrap());
        label->setSizePolicy(policy);
    }
    Label1->setMaximumHeight(3 * Label1->fontMetrics().lineSpacing());
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(Px(105), Px(105), Px(105), Px(90));
    grid->setHorizontalSpacing(Px(120));
    grid->setVerticalSpacing(Px(30));
    grid->addWidget(Image4, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(Label1, 0, 1);
    grid->addWidget(Label2, 1, 1);
    grid->addWidget(Label19, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
}

void frmMain::ColorDates()
{
    const int yearIndex = ComboYears->currentIndex();
    const int monthIndex = ComboMonth->currentIndex();
    if (yearIndex < 0 || monthIndex < 0) {
        for (int cell = 0; cell < DayCellCount; ++cell) {
            setDayColour(cell, PlainDayColour);
            dayTip_[cell].clear();
        }
        return;
    }
    const int year = ComboYears->currentText().toInt();
    const int month = monthIndex + 1;
    const QList<DayEvent> events = readMonthEvents(year, month);
    const MonthMarks marks = MarkMonth(year, month, MonthOffset(year, month, SundayFirst()), Clock::Today(),
                                       GetLangText(QStringLiteral("mes2")), events);
    for (int cell = 0; cell < DayCellCount; ++cell) {
        setDayColour(cell, marks.colour[cell]);
        dayTip_[cell] = marks.tip[cell];
    }
    // An empty table leaves the panel as the event-list refresh set it.
    if (Forms::Get<frmProcess>().ListView1.Count() > 0)
        showNearestEvent();
}

void frmMain::showNearestEvent()
{
    const frmProcess& process = Forms::Get<frmProcess>();
    const NextDueRecord& next = process.NextDue;
    if (next.item < 1 || next.item > process.ListView1.Count()) {
        // Rows without a date never fall due: nothing is planned.
        Label1->setText(GetLangText(QStringLiteral("mes240")));
        Label2->setText(GetLangText(QStringLiteral("mes239")));
        Label19->clear();
        Image4->setPixmap(ResourcePixmap(QStringLiteral("RES_5"), PanelIconSize));
        return;
    }
    QString category = process.ListView1.Item(next.item).category;
    const QString builtIn[3] = {process.BuiltInMeasure1, process.BuiltInMeasure2, process.BuiltInMeasure3};
    for (int number = 0; number < 3; ++number) {
        if (!builtIn[number].isEmpty() && category == builtIn[number]) {
            category = GetOwnText(QStringLiteral("evn%1").arg(number + 1));
            break;
        }
    }
    const QString time = TimeText(next.time, process.TimeFormat);
    const QString date = DateText(next.date);
    Label2->setText(time != TimeText(QTime(0, 0), process.TimeFormat) ? date + QStringLiteral(" (") + time
                                                                            + QLatin1Char(')')
                                                                      : date);
    Label19->setText(process.NextEventTitle);
    if (category == QuickReminder) {
        Label1->setText(GetLangText(QStringLiteral("mes1")));
        Image4->setPixmap(ResourcePixmap(QStringLiteral("RES_4"), PanelIconSize));
        return;
    }
    Label1->setText(category);
    const QString key = QLatin1Char('_') + category;
    if (ImageList1.Contains(key))
        Image4->setPixmap(ImageList1.Icon(key).pixmap(PanelIconSize, PanelIconSize));
}

void frmMain::SetBaloons()
{
    DestroyBalloonTips();
    for (int cell = 0; cell < DayCellCount; ++cell) {
        if (!dayTip_[cell].isEmpty())
            AddBalloonTip(PicDay[cell], dayTip_[cell], Qt::white, ColorFromBgr(dayColour_[cell]), 200, 500, 2000,
                          false);
    }
}
