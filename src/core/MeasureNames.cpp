#include "MeasureNames.h"

#include "DBConfig.h"
#include "DataEnvironment.h"
#include "Options.h"
#include "frmProcess.h"

QString ShownMeasureName(const QString& storedName)
{
    const frmProcess& process = Forms::Get<frmProcess>();
    if (storedName == process.BuiltInMeasure1 && !storedName.isEmpty())
        return GetOwnText(QStringLiteral("evn1"));
    if (storedName == process.BuiltInMeasure2 && !storedName.isEmpty())
        return GetOwnText(QStringLiteral("evn2"));
    if (storedName == process.BuiltInMeasure3 && !storedName.isEmpty())
        return GetOwnText(QStringLiteral("evn3"));
    return storedName;
}

QString StoredMeasureName(const QString& shownName)
{
    // A built-in name is known only once the category list was read; until then the
    // shown name stands for itself rather than for an empty stored name.
    const frmProcess& process = Forms::Get<frmProcess>();
    const QString stored[3] = {process.BuiltInMeasure1, process.BuiltInMeasure2, process.BuiltInMeasure3};
    for (int b = 0; b < 3; ++b) {
        if (!stored[b].isEmpty() && shownName == GetOwnText(QStringLiteral("evn%1").arg(b + 1)))
            return stored[b];
    }
    return shownName;
}

void ReadBuiltInMeasureNames()
{
    Connection& db = DataEnvironment1().Connection1;
    OpenIfClosed(db);
    QList<QVariantList> rows;
    const DbResult read = db.Query(QStringLiteral("SELECT Measure_Name, LVIcon_Path FROM lst_Measures "
                                                  "WHERE LVIcon_Path IN ('RES_1', 'RES_2', 'RES_3')"),
                                   {}, &rows);
    if (!read.Ok())
        DatabaseFailure(db, read);
    frmProcess& process = Forms::Get<frmProcess>();
    QString* const names[3] = {&process.BuiltInMeasure1, &process.BuiltInMeasure2, &process.BuiltInMeasure3};
    for (const QVariantList& row : rows)
        *names[row.value(1).toString().back().digitValue() - 1] = row.value(0).toString();
}
