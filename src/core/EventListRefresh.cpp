#include "frmProcess.h"

#include "DBConfig.h"
#include "DataEnvironment.h"
#include "EventRows.h"
#include "Formats.h"
#include "MeasureNames.h"
#include "Options.h"
#include "Resources.h"
#include "mainwin/frmMain.h"

#include <QLabel>
#include <QScopedValueRollback>

void frmProcess::DateRefresh()
{
    if (startRead_)
        finishStartRefresh();
    const QScopedValueRollback<bool> running(refreshing_, true);
    Connection& db = DataEnvironment1().Connection1;
    OpenIfClosed(db);
    // From here on the list follows the table through the log of what changes.
    const DbResult logged = StartChangeLog(db);
    if (!logged.Ok())
        LogDbFailure(db.Path(), logged);
    DispatcherRows rows;
    const DbResult read = ReadEventRows(db, &rows);
    // A list with rows missing would let their reminders pass unseen.
    if (!read.Ok())
        DatabaseFailure(db, read);
    ListView1.SetRows(std::move(rows));
    finishRefresh();
}

void frmProcess::DateRefreshChanged()
{
    if (startRead_) {
        finishStartRefresh();
        return;
    }
    const QScopedValueRollback<bool> running(refreshing_, true);
    followChanges();
}

void frmProcess::beginStartRefresh()
{
    Connection& db = DataEnvironment1().Connection1;
    OpenIfClosed(db);
    // Whatever this connection writes while the worker reads is in the log, and is
    // read again when the worker's rows are in.
    if (!StartChangeLog(db).Ok()) {
        DateRefresh();
        return;
    }
    startRead_ = std::make_unique<EventRowsReader>(db.ConnectionString());
    // The main window it loads leaves its refresh to the rows on their way.
    const QScopedValueRollback<bool> running(refreshing_, true);
    Forms::Get<frmMain>();
}

void frmProcess::finishStartRefresh()
{
    if (!startRead_)
        return;
    const QScopedValueRollback<bool> running(refreshing_, true);
    const std::unique_ptr<EventRowsReader> reader = std::move(startRead_);
    DispatcherRows rows;
    const DbResult read = reader->Take(&rows);
    if (!read.Ok())
        DatabaseFailure(DataEnvironment1().Connection1, read);
    ListView1.SetRows(std::move(rows));
    followChanges();
}

// The rows the log names read again; the whole table where the log cannot tell.
void frmProcess::followChanges()
{
    Connection& db = DataEnvironment1().Connection1;
    OpenIfClosed(db);
    QList<qint64> ids;
    if (!TakeChangedEvents(db, &ids)) {
        DateRefresh();
        return;
    }
    if (!ids.isEmpty()) {
        DispatcherRows rows;
        const DbResult read = ReadEventRows(db, ids, &rows);
        if (!read.Ok())
            DatabaseFailure(db, read);
        ListView1.Update(ids, rows);
    }
    finishRefresh();
}

// The panels, the earliest event and the main window's calendar, from the list.
void frmProcess::finishRefresh()
{
    if (BuiltInMeasure1.isEmpty())
        ReadBuiltInMeasureNames();
    const QString stored[3] = {BuiltInMeasure1, BuiltInMeasure2, BuiltInMeasure3};
    const QString shown[3] = {GetOwnText(QStringLiteral("evn1")), GetOwnText(QStringLiteral("evn2")),
                              GetOwnText(QStringLiteral("evn3"))};
    ListView1.ShowCategories(stored, shown);
    const int count = ListView1.Count();

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
    const int earliest = ListView1.Earliest();
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
