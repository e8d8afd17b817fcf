#include "DBConfig.h"

#include "DataEnvironment.h"
#include "Fatal.h"
#include "Options.h"
#include "frmProcess.h"

#include <QComboBox>
#include <QSignalBlocker>

#include <cstdio>

namespace {

[[noreturn]] void listFailure()
{
    FatalEnd(GetLangText(QStringLiteral("mes11")));
}

// Selecting by code runs the box's handler once, as a click would.
void selectFirst(QComboBox* combo)
{
    if (combo->count() == 0)
        return;
    {
        const QSignalBlocker blocker(combo);
        combo->setCurrentIndex(-1);
    }
    combo->setCurrentIndex(0);
}

bool isGeneralGroupName(const QString& name)
{
    return name == QLatin1String("System") || name == QStringLiteral("Общая") || name == QLatin1String("General");
}

}  // namespace

void OpenIfClosed(Recordset& recordset)
{
    if (recordset.State() != 0)
        return;
    const DbResult result = recordset.Open();
    if (!result.Ok())
        DatabaseFailure(recordset.ActiveConnection(), result);
}

void OpenIfClosed(Connection& connection)
{
    if (connection.State() != 0)
        return;
    const DbResult result = connection.Open();
    if (!result.Ok())
        DatabaseFailure(connection, result);
}

DbResult CloseIfOpen(Recordset& recordset)
{
    return recordset.State() == 1 ? recordset.Close() : DbResult();
}

DbResult CloseIfOpen(Connection& connection)
{
    return connection.State() == 1 ? connection.Close() : DbResult();
}

DbResult UpdateIfRecords(Recordset& recordset)
{
    return recordset.RecordCount() > 0 ? recordset.Update() : DbResult();
}

void DatabaseFailure(const Connection& connection, const DbResult& result)
{
    LogDbFailure(connection.Path(), result);
    FatalEnd(GetLangText(QStringLiteral("mes328")).arg(connection.Path()));
}

void LogDbFailure(const QString& what, const DbResult& result)
{
    std::fprintf(stderr, "Tessaryn: %s: %s\n", qPrintable(what), qPrintable(result.text));
    std::fflush(stderr);
}

void FillGroupCombo(QComboBox* combo)
{
    Recordset& groups = DataEnvironment1().rstbl_Groupes;
    {
        const QSignalBlocker blocker(combo);
        combo->clear();
        combo->addItem(GetLangText(QStringLiteral("mes279")));
        OpenIfClosed(groups);
        const int count = groups.RecordCount();
        for (int i = 0; i < count && !groups.Eof(); ++i) {
            const QString name = groups.Field(0).toString();
            if (isGeneralGroupName(name)) {
                combo->insertItem(1, GetLangText(QStringLiteral("mes278")));
                Forms::Get<frmProcess>().GeneralGroupName = name;
            } else {
                combo->addItem(name);
            }
            if (!groups.MoveNext().Ok())
                listFailure();
        }
        if (!CloseIfOpen(groups).Ok())
            listFailure();
    }
    selectFirst(combo);
}

void FillEventTypeCombo(QComboBox* combo)
{
    Recordset& categories = DataEnvironment1().rsCommand1;
    const frmProcess& process = Forms::Get<frmProcess>();
    {
        const QSignalBlocker blocker(combo);
        OpenIfClosed(categories);
        if (!categories.MoveFirst().Ok())
            listFailure();
        const int count = categories.RecordCount();
        for (int i = 0; i < count; ++i) {
            const QString name = categories.Field(0).toString();
            if (name == process.BuiltInMeasure1)
                combo->addItem(GetOwnText(QStringLiteral("evn1")));
            else if (name == process.BuiltInMeasure2)
                combo->addItem(GetOwnText(QStringLiteral("evn2")));
            else if (name == process.BuiltInMeasure3)
                combo->addItem(GetOwnText(QStringLiteral("evn3")));
            else
                combo->addItem(name);
            if (!categories.MoveNext().Ok())
                listFailure();
        }
        if (!CloseIfOpen(categories).Ok())
            listFailure();
    }
    selectFirst(combo);
}
