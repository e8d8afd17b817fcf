#include "support/TestEnv.h"

#include "platform/Connection.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <random>

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

// The ids the child reported as committed: complete lines only.
QList<qint64> reportedIds(const QByteArray& output)
{
    QList<qint64> ids;
    const QList<QByteArray> lines = output.split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        bool ok = false;
        const qint64 id = lines[i].toLongLong(&ok);
        if (ok)
            ids.append(id);
    }
    return ids;
}

}  // namespace

// A writer killed at any moment leaves a sound file with every row it reported
// committed, plus at most the one it was writing.
TEST(DatabaseCrash, KilledWriterLosesNoCommittedRow)
{
    QTemporaryDir dir;
    const QString path = dir.path() + s("/tesryn.db");
    ASSERT_TRUE(QFile::copy(TestEnv::BuildShare() + s("/Tessaryn/System/tesryn.db"), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    const unsigned seed = std::random_device()();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delay(0, 40);
    SCOPED_TRACE(testing::Message() << "seed " << seed);

    QSet<qint64> committed;
    qint64 rowsBefore = 0;
    for (int round = 0; round < 60; ++round) {
        QProcess child;
        child.start(s(TESSARYN_DBCRASH_CHILD), {path, s("qk_mirtolven")});
        ASSERT_TRUE(child.waitForStarted(10000));
        QByteArray output;
        // The kill lands while rows are being written: after the first one.
        while (reportedIds(output).isEmpty() && child.waitForReadyRead(10000))
            output += child.readAllStandardOutput();
        ASSERT_FALSE(reportedIds(output).isEmpty()) << "round " << round;
        QThread::msleep(delay(random));
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        child.waitForFinished(10000);
        output += child.readAllStandardOutput();
        const QList<qint64> reported = reportedIds(output);

        Connection connection;
        ASSERT_TRUE(connection.Open(path, s("qk_mirtolven")).Ok()) << "round " << round;
        QList<QVariantList> rows;
        ASSERT_TRUE(connection.Query(s("PRAGMA integrity_check"), {}, &rows).Ok());
        ASSERT_EQ(rows.value(0).value(0).toString(), s("ok")) << "round " << round;
        ASSERT_TRUE(connection.Query(s("SELECT Step_Numeric FROM lst_Dates"), {}, &rows).Ok());
        QSet<qint64> inFile;
        for (const QVariantList& row : rows)
            inFile.insert(row.value(0).toLongLong());
        for (qint64 id : reported)
            committed.insert(id);
        for (qint64 id : committed)
            ASSERT_TRUE(inFile.contains(id)) << "round " << round << " lost row " << id;
        const qint64 added = inFile.size() - rowsBefore;
        EXPECT_GE(added, reported.size()) << "round " << round;
        EXPECT_LE(added, reported.size() + 1) << "round " << round;
        rowsBefore = inFile.size();
        for (qint64 id : inFile)
            committed.insert(id);
    }
}
