#pragma once

// Shared set-up of the report and backup wizard tests: the main window loaded (it
// learns the built-in category names), rows written straight into the task and
// phone-book databases, and a program folder of the test's own for changed
// language texts.

#include "test_event_fixture.h"

#include "platform/FileDialog.h"
#include "platform/Shell.h"

#include <QDir>
#include <QRegularExpression>

class ToolsTest : public EventWindowTest {
protected:
    void SetUp() override
    {
        EventWindowTest::SetUp();
        FileDialog::ClearForTests();
        main();
        openedBefore_ = Shell::Opened().size();
    }

    static Connection& database(Connection& connection)
    {
        OpenIfClosed(connection);
        return connection;
    }
    static Connection& tasks() { return database(DataEnvironment1().Connection3); }
    static Connection& phones() { return database(DataEnvironment1().Connection2); }

    static void addTask(const QVariant& date, const QString& text, const QVariant& done)
    {
        ASSERT_TRUE(tasks()
                        .Execute(s("INSERT INTO tbl_Business (bsn_Date, bsn_Text, bsn_Status) VALUES (?, ?, ?)"),
                                 {date, text, done})
                        .Ok());
    }

    // A contact with the given fields; the others stay NULL.
    static void addContact(const QList<std::pair<const char*, QVariant>>& fields)
    {
        QStringList names, marks;
        QVariantList values;
        for (const auto& [name, value] : fields) {
            names.append(s(name));
            marks.append(s("?"));
            values.append(value);
        }
        ASSERT_TRUE(phones()
                        .Execute(s("INSERT INTO tbl_Phones (") + names.join(s(", ")) + s(") VALUES (")
                                     + marks.join(s(", ")) + s(")"),
                                 values)
                        .Ok());
    }

    // Replaces a text of the English language file, in a program folder of the test's own.
    void setLanguageText(const char* key, const QString& text)
    {
        const QString folder = env.Root() + s("/program");
        const QString file = folder + s("/Language/English.ini");
        if (!QFile::exists(file)) {
            QDir().mkpath(folder + s("/Language"));
            QFile::copy(TestEnv::BuildShare() + s("/Language/English.ini"), file);
            process().AppPath = folder;
        }
        QString english = QString::fromUtf8(ReadFile(file));
        english.replace(QRegularExpression(s("\r\n") + s(key) + s("=[^\r]*")), s("\r\n") + s(key) + s("=") + text);
        WriteFile(file, english.toUtf8());
    }

    QStringList opened() const { return Shell::Opened().mid(openedBefore_); }

private:
    qsizetype openedBefore_ = 0;
};
