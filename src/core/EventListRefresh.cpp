#include "frmProcess.h"

#include "DBConfig.h"
#include "DataEnvironment.h"
#include "Formats.h"
#include "Options.h"
#include "Resources.h"
#include "StepTime.h"
#include "mainwin/frmMain.h"

#include <QLabel>

namespace {

int minuteOf(const QTime& time) { return time.isValid() ? time.hour() * 60 + time.minute() : 0; }

// Earlier by date, then by minute; the first of equals stays.
bool earlier(const DispatcherRow& row, const DispatcherRow& than)
{
    return row.date < than.date || (row.date == than.date && minuteOf(row.time) < minuteOf(than.time));
}

}  // namespace

void frmProcess::DateRefresh()
{
    Recordset& rs = DataEnvironment1().rsCommand2;
    OpenIfClosed(rs);
    const int count = rs.RecordCount();
    if (count == 0) {
        ListView1.Clear();
        CloseIfOpen(rs);
        NextDue = {};
        SetPanel(1, GetLangText(QStringLiteral("mes238")) + QStringLiteral(": 0"));
        SetPanel(2, GetLangText(QStringLiteral("mes239")));
        frmMain& main = Forms::Get<frmMain>();
        main.ColorDates();
        main.SetBaloons();
        main.Label1->setText(GetLangText(QStringLiteral("mes240")));
        main.Label2->setText(GetLangText(QStringLiteral("mes239")));
        main.Label19->setText(QString());
        main.Image4->setPixmap(ResourcePixmap(QStringLiteral("RES_5"), 32));
        return;
    }

    // The built-in categories are shown under the user's own texts.
    const QString stored[3] = {BuiltInMeasure1, BuiltInMeasure2, BuiltInMeasure3};
    const QString shown[3] = {GetOwnText(QStringLiteral("evn1")), GetOwnText(QStringLiteral("evn2")),
                              GetOwnText(QStringLiteral("evn3"))};
    const int category = rs.FieldIndex(QStringLiteral("Measure_Name"));
    const int title = rs.FieldIndex(QStringLiteral("Step_Name"));
    const int date = rs.FieldIndex(QStringLiteral("Step_Date"));
    const int time = rs.FieldIndex(QStringLiteral("Step_Time"));
    const int notes = rs.FieldIndex(QStringLiteral("Step_Notes"));
    const int oneOff = rs.FieldIndex(QStringLiteral("Step_Rep"));

    QList<DispatcherRow> rows;
    rows.reserve(count);
    int earliest = 0;
    for (int i = 0; i < count; ++i) {
        DispatcherRow row;
        row.category = rs.ValueAt(i, category).toString();
        for (int b = 0; b < 3; ++b) {
            if (!stored[b].isEmpty() && row.category == stored[b]) {
                row.category = shown[b];
                break;
            }
        }
        row.title = rs.ValueAt(i, title).toString();
        row.date = rs.ValueAt(i, date).toDate();
        row.time = ReadStepTime(rs.ValueAt(i, time));
        row.id = rs.IdAt(i);
        row.comment = rs.ValueAt(i, notes).toString();
        row.oneOff = rs.ValueAt(i, oneOff).toBool();
        // A row without a date is listed but can never fall due.
        if (row.date.isValid() && (earliest == 0 || earlier(row, rows.at(earliest - 1))))
            earliest = i + 1;
        rows.append(std::move(row));
    }
    CloseIfOpen(rs);
    ListView1.SetRows(std::move(rows));

    SetPanel(1, GetLangText(QStringLiteral("mes238")) + QStringLiteral(": ") + QString::number(count));
    if (earliest == 0) {
        NextDue = {};
        SetPanel(2, GetLangText(QStringLiteral("mes239")));
    } else {
        const DispatcherRow& first = ListView1.Item(earliest);
        NextDue = {earliest, first.date, first.time};
        NextEventTitle = first.title;
        SetPanel(2, GetLangText(QStringLiteral("mes241")) + QStringLiteral(": ") + DateText(first.date));
        SetPanel(3, QString::number(earliest));
        SetPanel(4, TimeText(first.time, TimeFormat));
        SetPanel(6, DateText(first.date));
    }

    frmMain& main = Forms::Get<frmMain>();
    main.ColorDates();
    main.SetBaloons();
}
