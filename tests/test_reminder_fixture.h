#pragma once

// What the reminder tests share: a prepared user, events saved the way the event
// editor saves them, the dispatcher's tick by hand and a look at the events table.
#include "core/DataEnvironment.h"
#include "core/DBConfig.h"
#include "core/Options.h"
#include "core/RegData.h"
#include "core/SourceText.h"
#include "core/frmProcess.h"
#include "events/frmWindow.h"
#include "mainwin/MeasureRecord.h"
#include "platform/FileSystem.h"
#include "platform/Clock.h"
#include "platform/ColorChooser.h"
#include "platform/FileDialog.h"
#include "platform/SoundPlayer.h"
#include "platform/WindowEffects.h"
#include "support/TestEnv.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace reminder_test {

inline QDateTime at(int y, int m, int d, int h, int min, int sec = 0) { return {QDate(y, m, d), QTime(h, min, sec)}; }

// A short, valid sound: 0.1 s of silence, 8 kHz, 8 bit, mono.
inline QByteArray silentWav()
{
    const quint32 samples = 800;
    QByteArray data;
    auto put32 = [&data](quint32 v) { for (int i = 0; i < 4; ++i) data.append(char((v >> (8 * i)) & 0xFF)); };
    auto put16 = [&data](quint16 v) { data.append(char(v & 0xFF)); data.append(char(v >> 8)); };
    data.append("RIFF");
    put32(36 + samples);
    data.append("WAVEfmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(8000);
    put32(8000);
    put16(1);
    put16(8);
    data.append("data");
    put32(samples);
    data.append(QByteArray(int(samples), char(0x80)));
    return data;
}

// Lets window events and timers run for a while.
inline void pump(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// One event as the editor hands it over.
struct Event {
    QString category = s("Work");  // stored name
    QString title = s("Dentist");
    QDate date{};
    QVariant time{};               // "HH:mm" or NULL
    QVariant notes{};              // NULL for no comment
    QString advanceCode{};         // "" when shown at its own moment
    QString ownType{};             // "" for no own rule
    QString ownCount{};
};

struct Row {
    QString category;
    QString title;
    QDate date;
    QVariant time;
    QVariant notes;
    bool oneOff = false;
    qint64 id = 0;
};

class ReminderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.PrepareUser();
        process().BuiltInMeasure1 = s("Birthdays");
        process().BuiltInMeasure2 = s("Meetings");
        process().BuiltInMeasure3 = s("Holidays");
        // The tests tick by hand.
        process().Timer1->stop();
        FormTransparent::SetOpacitySupportedForTests(true);
        // Asking for no sound clears what the last case played.
        playSound::PlaySoundFile(QString());
        soundPath = env.Root() + s("/bell.wav");
        WriteFile(soundPath, silentWav());
        EXPECT_TRUE(WriteOption(s("RemWindow"), s("musicpath"), soundPath));
        EXPECT_TRUE(WriteOption(s("RemWindow"), s("musictitle"), s("bell.wav")));
    }

    void TearDown() override
    {
        playSound::StopSound();
        FormTransparent::SetOpacitySupportedForTests(std::nullopt);
        ColorChooser::ClearForTests();
        FileDialog::ClearForTests();
    }

    static frmProcess& process() { return Forms::Get<frmProcess>(); }
    static frmWindow* reminder() { return Forms::Find<frmWindow>(); }
    static void tick() { process().Timer1_Timer(); }

    // The row and the registry entries the editor writes for a new event, then its
    // refresh of the dispatcher list.
    static qint64 save(const Event& event)
    {
        Recordset& rs = DataEnvironment1().rsCommand3;
        OpenIfClosed(rs);
        EXPECT_TRUE(rs.AddNew().Ok());
        EXPECT_TRUE(rs.SetField(s("Measure_Name"), event.category).Ok());
        EXPECT_TRUE(rs.SetField(s("Step_Name"), event.title).Ok());
        EXPECT_TRUE(rs.SetField(s("Step_Date"), event.date).Ok());
        EXPECT_TRUE(rs.SetField(s("Step_Time"), event.time).Ok());
        EXPECT_TRUE(rs.SetField(s("Step_Notes"), event.notes).Ok());
        EXPECT_TRUE(rs.SetField(s("Step_Rep"), false).Ok());
        EXPECT_TRUE(rs.Update().Ok());
        EXPECT_TRUE(rs.Resync().Ok());
        const qint64 id = rs.Field(6).toLongLong();
        EXPECT_TRUE(CloseIfOpen(rs).Ok());
        const QString number = QString::number(id);
        if (!event.advanceCode.isEmpty()) {
            EXPECT_TRUE(RegWrite(ProgramKey() + s("InAdvance\\") + number, event.advanceCode));
        }
        if (!event.ownType.isEmpty()) {
            EXPECT_TRUE(RegWrite(ProgramKey() + s("Special\\") + number + s("\\NextType"), event.ownType));
            EXPECT_TRUE(RegWrite(ProgramKey() + s("Special\\") + number + s("\\NextInterval"), event.ownCount));
        }
        process().DateRefresh();
        return id;
    }

    // A rule of a category the user made comes with its category: the category
    // list drops the rule of a name that no category shows.
    static void addCategory(const QString& name)
    {
        const QString icon = CategoryIconPath(name);
        ASSERT_TRUE(FileSystem::CopyAtomic(TestEnv::BuildShare() + s("/Icons/Work.ico"), icon));
        Connection& db = DataEnvironment1().Connection1;
        OpenIfClosed(db);
        ASSERT_TRUE(db.Execute(s("INSERT INTO lst_Measures (Measure_Name, LVIcon_Path) VALUES (?, ?)"), {name, icon})
                        .Ok());
    }

    static void setCategoryRule(const QString& shownName, const QString& type, const QString& count)
    {
        EXPECT_TRUE(RegWrite(ProgramKey() + s("Measures\\") + shownName + s("\\NextType"), type));
        EXPECT_TRUE(RegWrite(ProgramKey() + s("Measures\\") + shownName + s("\\NextInterval"), count));
    }

    static QString reg(const QString& path)
    {
        QString value;
        return RegRead(ProgramKey() + path, &value) == ReadResult::Found ? value : s("<missing>");
    }

    static QList<Row> rows()
    {
        Connection& db = DataEnvironment1().Connection1;
        if (db.State() == 0) {
            EXPECT_TRUE(db.Open().Ok());
        }
        QList<QVariantList> found;
        EXPECT_TRUE(db.Query(s("SELECT Measure_Name, Step_Name, Step_Date, Step_Time, Step_Notes, Step_Rep, Step_Numeric "
                   "FROM lst_Dates ORDER BY Step_Numeric"),
                 {}, &found).Ok());
        QList<Row> result;
        for (const QVariantList& r : found)
            result.append({r[0].toString(), r[1].toString(), QDate::fromString(r[2].toString(), Qt::ISODate), r[3],
                           r[4], r[5].toLongLong() != 0, r[6].toLongLong()});
        return result;
    }

    // The title bar's close box.
    static void closeReminder()
    {
        ASSERT_TRUE(reminder());
        reminder()->close();
        QCoreApplication::processEvents();
    }

    TestEnv env;
    QString soundPath;
};

}  // namespace reminder_test
