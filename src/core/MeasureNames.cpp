#include "MeasureNames.h"

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
