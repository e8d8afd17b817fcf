#pragma once

// Shared set-up of the main-window tests: a prepared user folder, a fixed clock and
// rows written straight into the events database.

#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/Options.h"
#include "core/RegData.h"
#include "core/SourceText.h"
#include "core/frmProcess.h"
#include "mainwin/MeasureRecord.h"
#include "mainwin/frmMain.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/MsgBox.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

// Ends every window, so that none outlives the data environment of its test.
inline void DeleteAllWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QList<QPointer<Form>> forms;
    for (Form* form : Forms::Loaded())
        forms.append(form);
    for (const QPointer<Form>& form : forms)
        delete form.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class MainWindowTest : public ::testing::Test {
protected:
    // Thursday 10 December 2026, 14:30.
    static QDateTime Now() { return {QDate(2026, 12, 10), QTime(14, 30)}; }

    void SetUp() override
    {
        env.PrepareUser(Language());
        Clock::SetFixed(Now());
        // Overdue rows must not fire reminders while a test pumps events.
        process().Timer1->stop();
    }

    virtual QString Language() const { return s("English"); }

    static frmProcess& process() { return Forms::Get<frmProcess>(); }
    static frmMain& main() { return Forms::Get<frmMain>(); }
    static Connection& db()
    {
        Connection& connection = DataEnvironment1().Connection1;
        OpenIfClosed(connection);
        return connection;
    }

    // A time of QVariant() is stored as NULL (an event without a time).
    static void addEvent(const QString& category, const QString& title, const QDate& date,
                         const QVariant& time = QVariant())
    {
        ASSERT_TRUE(db().Execute(s("INSERT INTO lst_Dates (Measure_Name, Step_Name, Step_Date, Step_Time, "
                                   "Step_Notes, Step_Rep) VALUES (?, ?, ?, ?, NULL, 0)"),
                                 {category, title, date.toString(Qt::ISODate), time})
                        .Ok());
    }

    // A user category with a copy of one of the program's icons as its icon file.
    void addCategory(const QString& name, const char* picture = "Work")
    {
        const QString icon = CategoryIconPath(name);
        ASSERT_TRUE(FileSystem::CopyAtomic(ProgramIcon(picture), icon));
        ASSERT_TRUE(db().Execute(s("INSERT INTO lst_Measures (Measure_Name, LVIcon_Path) VALUES (?, ?)"), {name, icon})
                        .Ok());
    }

    static QString ProgramIcon(const char* name)
    {
        return TestEnv::BuildShare() + s("/Icons/") + s(name) + s(".ico");
    }

    static QStringList categoryTexts()
    {
        QStringList texts;
        for (int row = 0; row < main().ListView1->count(); ++row)
            texts.append(main().ListView1->item(row)->text());
        return texts;
    }

    static QList<QVariantList> rows(const char* sql, const QVariantList& parameters = {})
    {
        QList<QVariantList> result;
        EXPECT_TRUE(db().Query(s(sql), parameters, &result).Ok());
        return result;
    }

    static void selectCategory(const QString& shownName)
    {
        const auto found = main().ListView1->findItems(shownName, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << shownName.toStdString();
        main().ListView1->setCurrentItem(found.first());
    }

    static QString rule(const QString& shownName, const char* value)
    {
        QString text;
        return RegRead(CategoryRuleKey(shownName) + s(value), &text) == ReadResult::Found ? text : s("<none>");
    }

    static QStringList messages()
    {
        QStringList texts;
        for (const MsgBoxScript::Shown& shown : MsgBoxScript::Log())
            texts.append(shown.text);
        return texts;
    }

    // Runs body once the next modal loop is running, then waits for that loop to end.
    static void whenModal(std::function<void()> body)
    {
        QTimer::singleShot(0, qApp, std::move(body));
    }

    static void pump(int milliseconds)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < milliseconds)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    TestEnv env;
};
