#include "frmProcess.h"

#include "BusSettings.h"
#include "DBConfig.h"
#include "DataEnvironment.h"
#include "Fatal.h"
#include "IconBaloonTray.h"
#include "Options.h"
#include "platform/Clock.h"

namespace {

[[noreturn]] void settingsFault() { FatalEnd(GetLangText(QStringLiteral("mes294"))); }

void check(const DbResult& result)
{
    if (result.Ok())
        return;
    LogDbFailure(QStringLiteral("task clean-up"), result);
    settingsFault();
}

}  // namespace

void frmProcess::BusRefresh()
{
    const int age = ReadBusNumber(QStringLiteral("delwait"));
    const int notify = ReadBusNumber(QStringLiteral("notify"));
    const QDate today = Clock::Today();
    bool undoneDue = false;

    Recordset& rs = DataEnvironment1().rstbl_Business;
    OpenIfClosed(rs);
    if (rs.RecordCount() > 0) {
        check(rs.MoveFirst());
        while (!rs.Eof()) {
            const QDate date = rs.Field(QStringLiteral("bsn_Date")).toDate();
            // A task without a date has no age: it is left alone.
            if (date.isValid()) {
                const qint64 days = date.daysTo(today);
                if (age > 0 && days > age) {
                    check(rs.Delete());
                } else if (notify == 1 && days >= 0 && !rs.Field(QStringLiteral("bsn_Status")).toBool()) {
                    undoneDue = true;
                }
            }
            check(rs.MoveNext());
        }
    }
    if (undoneDue)
        TrayBalloon(ProductName(), GetLangText(QStringLiteral("mes237")), 1);
    check(CloseIfOpen(rs));
}
