#include "frmProcess.h"

#include "DBConfig.h"
#include "DataEnvironment.h"
#include "Formats.h"
#include "MeasureNames.h"
#include "Options.h"
#include "Resources.h"
#include "StepTime.h"
#include "mainwin/frmMain.h"

#include <QHash>
#include <QLabel>
#include <QScopedValueRollback>

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
    // The whole events table in table order, read straight into the list: the
    // refresh runs after every change and the table may hold many rows.
    const QScopedValueRollback<bool> running(refreshing_, true);
    Connection& db = DataEnvironment1().Connection1;
    OpenIfClosed(db);
    if (BuiltInMeasure1.isEmpty())
        ReadBuiltInMeasureNames();
    const QString stored[3] = {BuiltInMeasure1, BuiltInMeasure2, BuiltInMeasure3};
    const QString shown[3] = {GetOwnText(QStringLiteral("evn1")), GetOwnText(QStringLiteral("evn2")),
                              GetOwnText(QStringLiteral("evn3"))};
    DispatcherRows rows;
    // Room for every row at once: growing the list row by row would touch twice the
    // memory, which a first refresh pays for in page faults.
    qsizetype expected = ListView1.Count();
    QList<QVariantList> counted;
    if (expected == 0 && db.Query(QStringLiteral("SELECT count(*) FROM lst_Dates"), {}, &counted).Ok())
        expected = counted.value(0).value(0).toLongLong();
    rows.Reserve(expected);
    // The few categories that every row repeats are decoded once each and shared by
    // their rows.
    QHash<QByteArray, QString> categories;
    int earliest = 0;
    DispatcherRow earliestRow;
    const DbResult read = db.ForEachRow(
        QStringLiteral("SELECT Measure_Name, Step_Name, Step_Date, Step_Time, Step_Notes, Step_Rep, "
                       "Step_Numeric FROM lst_Dates ORDER BY Step_Numeric"),
        {}, [&](const RowReader& row) {
            DispatcherRow item;
            const QByteArrayView name = row.Utf8(0);
            const auto known = name.data()
                                   ? categories.constFind(QByteArray::fromRawData(name.data(), name.size()))
                                   : categories.constEnd();
            if (known != categories.constEnd()) {
                item.category = *known;
            } else {
                item.category = QString::fromUtf8(name);
                for (int b = 0; b < 3; ++b) {
                    if (!stored[b].isEmpty() && item.category == stored[b]) {
                        item.category = shown[b];
                        break;
                    }
                }
                if (name.data() && categories.size() < 1024)
                    categories.insert(name.toByteArray(), item.category);
            }
            item.date = row.Date(2);
            item.time = row.IsNull(3) ? QTime() : ReadStepTime(row.Utf8(3));
            item.oneOff = row.Boolean(5);
            item.id = row.Integer(6);
            // A row without a date is listed but can never fall due.
            if (item.date.isValid() && (earliest == 0 || earlier(item, earliestRow))) {
                earliest = static_cast<int>(rows.Size()) + 1;
                earliestRow = item;
            }
            rows.Append(item, row.Utf8(1), row.Utf8(4));
        });
    // A list with rows missing would let their reminders pass unseen.
    if (!read.Ok())
        DatabaseFailure(db, read);
    const int count = static_cast<int>(rows.Size());
    ListView1.SetRows(std::move(rows));

    if (count == 0) {
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

    SetPanel(1, GetLangText(QStringLiteral("mes238")) + QStringLiteral(": ") + QString::number(count));
    if (earliest == 0) {
        NextDue = {};
        SetPanel(2, GetLangText(QStringLiteral("mes239")));
    } else {
        const DispatcherRow first = ListView1.Item(earliest);
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
