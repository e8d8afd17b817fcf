#include "KillRounds.h"

#include "core/SourceText.h"
#include "platform/KnownFolders.h"
#include "support/TestEnv.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <csignal>

namespace {

// The complete lines a child wrote.
QStringList lines(const QByteArray& output)
{
    QStringList complete = QString::fromUtf8(output).split(QLatin1Char('\n'));
    complete.removeLast();
    return complete;
}

bool hasLine(const QByteArray& output, const QString& line, bool prefix)
{
    const QStringList written = lines(output);
    return std::any_of(written.begin(), written.end(),
                       [&](const QString& w) { return prefix ? w.startsWith(line) : w == line; });
}

// Waits for a line (or a line that begins so) the child writes; false when it ended
// or took too long.
bool waitForLine(QProcess& child, QByteArray* output, const QString& line, int ms, bool prefix = false)
{
    QElapsedTimer clock;
    clock.start();
    while (!hasLine(*output, line, prefix)) {
        if (clock.elapsed() > ms || !child.waitForReadyRead(int(ms - clock.elapsed())))
            return false;
        *output += child.readAllStandardOutput();
    }
    return true;
}

// The real program on what was left: it must come to its first dispatcher tick,
// which takes the marker of a second start away, and ask nothing on the way.
bool startsWithoutQuestion(const TestEnv& env, QString* detail)
{
    QProcess program;
    program.setProcessEnvironment(env.ProcessEnvironment());
    program.setProcessChannelMode(QProcess::MergedChannels);
    const QString marker = KnownFolders::UserDataFolder() + s("/open2.set");
    QFile(marker).open(QIODevice::WriteOnly);
    program.start(TestEnv::Executable(), {});
    QElapsedTimer clock;
    clock.start();
    bool ticked = false;
    while (!ticked && clock.elapsed() < 20000 && program.state() != QProcess::NotRunning) {
        program.waitForFinished(50);
        ticked = !QFile::exists(marker);
    }
    const bool running = program.state() != QProcess::NotRunning;
    program.kill();
    program.waitForFinished();
    const QString output = QString::fromUtf8(program.readAll());
    const qsizetype asked = output.indexOf(s("MsgBox ["));
    if (asked >= 0)
        *detail = s("the start asked: ") + output.mid(asked).section(QLatin1Char('\n'), 0, 0);
    else if (!ticked)
        *detail = running ? s("the start came to no tick") : s("the start ended: ") + output.right(300);
    return ticked && asked < 0;
}

void count(int* counter, bool happened, const QString& detail, KillCounts* counts)
{
    if (!happened)
        return;
    ++*counter;
    if (counts->firstFault.isEmpty())
        counts->firstFault = detail;
}

}  // namespace

KillCounts RunKillRounds(const CrashCase& crashCase, int kills, int startEvery, std::mt19937& random)
{
    KillCounts counts;
    TestEnv env;
    env.PrepareUser();
    if (crashCase.prepare)
        crashCase.prepare();
    EndProgramState();

    // Kills spread over twice the time of a save, which the first round measures.
    int span = 0;
    QStringList acknowledged;
    for (int round = 0; round < kills; ++round) {
        const QString where = s("round %1: ").arg(round);
        QProcess child;
        child.setProcessEnvironment(env.ProcessEnvironment());
        child.start(s(TESSARYN_DBCRASH_CHILD), {s(crashCase.name)});
        QByteArray output;
        if (!child.waitForStarted(10000) || !waitForLine(child, &output, s("ready"), 20000)) {
            count(&counts.failedStarts, true, where + s("the child did not come up"), &counts);
            child.kill();
            child.waitForFinished();
            continue;
        }
        // The kill lands while the saves run, at any point of one.
        waitForLine(child, &output, s("begin"), 10000);
        if (span == 0) {
            QElapsedTimer save;
            save.start();
            waitForLine(child, &output, s("saved"), 30000, true);
            span = int(std::clamp<qint64>(2 * save.elapsed(), 10, 10000));
        }
        QThread::msleep(std::uniform_int_distribution<int>(0, span)(random));
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        child.waitForFinished(10000);
        output += child.readAllStandardOutput();

        ++counts.kills;
        const QStringList written = lines(output);
        counts.insideSave += !written.isEmpty() && written.last() == s("begin");
        for (const QString& line : written) {
            if (line.startsWith(s("saved ")))
                acknowledged.append(line.mid(6));
        }
        counts.acknowledged = int(acknowledged.size());
        const StoreFaults faults = crashCase.check(acknowledged);
        count(&counts.damaged, faults.damaged, where + faults.detail, &counts);
        count(&counts.lost, faults.lost, where + faults.detail, &counts);
        count(&counts.outOfStep, faults.outOfStep, where + faults.detail, &counts);
        count(&counts.refused, faults.refused, where + faults.detail, &counts);
        if ((round + 1) % startEvery == 0 || round + 1 == kills) {
            QString detail;
            count(&counts.failedStarts, !startsWithoutQuestion(env, &detail), where + detail, &counts);
        }
    }
    return counts;
}

QString KillTable(const QList<std::pair<const CrashCase*, KillCounts>>& rows)
{
    QString table = s("| case | kills | kills inside a save | failed starts | damaged files | acknowledged saves lost "
                      "| stores out of step | valid backups refused | consistency rule |\n"
                      "|---|---|---|---|---|---|---|---|---|\n");
    for (const auto& [crashCase, counts] : rows) {
        table += s("| %1 | %2 | %3 | %4 | %5 | %6 | %7 | %8 | %9 |\n")
                     .arg(s(crashCase->name))
                     .arg(counts.kills)
                     .arg(counts.insideSave)
                     .arg(counts.failedStarts)
                     .arg(counts.damaged)
                     .arg(counts.lost)
                     .arg(counts.outOfStep)
                     .arg(counts.refused)
                     .arg(s(crashCase->rule));
    }
    return table;
}
