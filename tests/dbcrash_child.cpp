// Child of the crash test: adds rows to lst_Dates of the database it is given, one
// transaction each, and reports every committed row's id on its own line, until it
// is killed.
#include "platform/Connection.h"
#include "platform/Recordset.h"

#include <QDate>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    Connection connection;
    if (!connection.Open(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2])).Ok())
        return 3;
    Recordset events(connection, QStringLiteral("lst_Dates"));
    if (!events.Open().Ok())
        return 4;
    std::printf("ready\n");
    std::fflush(stdout);
    for (int n = 0;; ++n) {
        events.AddNew();
        events.SetField(QStringLiteral("Measure_Name"), QStringLiteral("Birthdays"));
        events.SetField(QStringLiteral("Step_Name"), QStringLiteral("row %1 ").arg(n).repeated(20));
        events.SetField(QStringLiteral("Step_Date"), QDate(2024, 1, 1).addDays(n % 1000));
        events.SetField(QStringLiteral("Step_Rep"), false);
        if (!events.Update().Ok())
            return 5;
        std::printf("%lld\n", static_cast<long long>(events.CurrentId()));
        std::fflush(stdout);
    }
}
