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
    const frmProcess& process = Forms::Get<frmProcess>();
    if (shownName == GetOwnText(QStringLiteral("evn1")))
        return process.BuiltInMeasure1;
    if (shownName == GetOwnText(QStringLiteral("evn2")))
        return process.BuiltInMeasure2;
    if (shownName == GetOwnText(QStringLiteral("evn3")))
        return process.BuiltInMeasure3;
    return shownName;
}
