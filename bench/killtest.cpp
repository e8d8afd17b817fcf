// The crash harness over every case: N kills each (1 000 unless told), the real
// program started on what is left after every 50th; prints the table of the counts
// and ends with 1 when any count after the first two is not 0.
#include "dbcrash/KillRounds.h"

#include "core/Resources.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    InitResources();
    const int kills = argc > 1 ? std::atoi(argv[1]) : 1000;
    // Further arguments name the cases to run; none runs them all.
    QStringList chosen;
    for (int i = 2; i < argc; ++i)
        chosen.append(QString::fromLocal8Bit(argv[i]));
    if (kills < 1) {
        std::fprintf(stderr, "usage: killtest [kills per case] [case name]...\n");
        return 2;
    }
    std::mt19937 random(std::random_device{}());
    QList<std::pair<const CrashCase*, KillCounts>> rows;
    bool clean = true;
    for (const CrashCase& crashCase : CrashCases()) {
        if (!chosen.isEmpty() && !chosen.contains(QString::fromUtf8(crashCase.name)))
            continue;
        const KillCounts counts = RunKillRounds(crashCase, kills, 50, random);
        std::fprintf(stderr, "%s: %d saves acknowledged\n", crashCase.name, counts.acknowledged);
        if (!counts.Clean())
            std::fprintf(stderr, "%s: %s\n", crashCase.name, qPrintable(counts.firstFault));
        clean = clean && counts.Clean();
        rows.append({&crashCase, counts});
    }
    std::printf("%s", qPrintable(KillTable(rows)));
    return clean ? 0 : 1;
}
