#pragma once

// Events written straight into the user's events database for the benchmarks: one a
// day from 1 January 2027 on over 3 000 days, titled "Event <n>", at a time of day of
// their own, every fifth with a comment.

#include "core/RegData.h"
#include "platform/Connection.h"
#include "platform/KnownFolders.h"
#include "support/Require.h"

#include <QDate>

struct GeneratedEvents {
    int count = 0;
    QString category;        // every event's but the birthdays'
    int birthdaysEvery = 0;  // every n-th from the first on is a birthday
    int rulesEvery = 0;      // every n-th from the first on repeats weekly, shown ten minutes ahead
};

// An event's own weekly rule and its advance notice of ten minutes.
inline void StoreWeeklyRuleAndNotice(Connection& db, const QString& id)
{
    const QString special = ProgramKey() + QStringLiteral("Special\\") + id + QStringLiteral("\\");
    Require(db.Execute(QStringLiteral("INSERT INTO registry (path, value) VALUES (?, 'w'), (?, '1'), (?, '1')"),
                       {special + QStringLiteral("NextType"), special + QStringLiteral("NextInterval"),
                        ProgramKey() + QStringLiteral("InAdvance\\") + id}));
}

inline void StoreEvents(const GeneratedEvents& events)
{
    Connection db;
    Require(db.Open(KnownFolders::UserDataFolder() + QStringLiteral("/System/tesryn.db"), QStringLiteral("qk_mirtolven")));
    Require(db.BeginTrans());
    const QDate start(2027, 1, 1);
    for (int i = 0; i < events.count; ++i) {
        const bool birthday = events.birthdaysEvery > 0 && i % events.birthdaysEvery == 0;
        QList<QVariantList> added;
        Require(db.Query(QStringLiteral("INSERT INTO lst_Dates (Measure_Name, Step_Name, Step_Date, Step_Time, "
                                        "Step_Notes, Step_Rep) VALUES (?, ?, ?, ?, ?, 0) RETURNING Step_Numeric"),
                         {birthday ? QStringLiteral("Birthdays") : events.category,
                          QStringLiteral("Event %1").arg(i), start.addDays(i % 3000).toString(Qt::ISODate),
                          QStringLiteral("%1:%2").arg(i % 24, 2, 10, QLatin1Char('0')).arg(i % 60, 2, 10, QLatin1Char('0')),
                          i % 5 ? QVariant() : QVariant(QStringLiteral("note"))},
                         &added));
        if (events.rulesEvery == 0 || i % events.rulesEvery != 0)
            continue;
        StoreWeeklyRuleAndNotice(db, added.value(0).value(0).toString());
    }
    Require(db.CommitTrans());
}
