#include "core/SourceText.h"
#include "support/TestEnv.h"

#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/Options.h"
#include "core/frmProcess.h"
#include "platform/Criteria.h"
#include "platform/MsgBox.h"
#include "platform/SchemaCheck.h"

#include <QComboBox>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

QString schema(const char* kind)
{
    return QString::fromUtf8(ReadFile(QStringLiteral(TESSARYN_SCHEMA_DIR "/") + s(kind) + s(".sql")));
}

QStringList items(const QComboBox& combo)
{
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i)
        texts.append(combo.itemText(i));
    return texts;
}

// Each case has its own folders, a user folder filled from the installed tree and a
// fresh data environment.
class DataEnvTest : public ::testing::Test {
protected:
    void SetUp() override { env.PrepareUser(); }
    void TearDown() override { EndDataEnvironment(); }

    QString database(const char* file) const { return env.UserData() + s("/System/") + s(file); }

    void addGroups(std::initializer_list<const char*> names)
    {
        Recordset& groups = DataEnvironment1().rstbl_Groupes;
        OpenIfClosed(groups);
        for (const char* name : names) {
            ASSERT_TRUE(groups.AddNew().Ok());
            ASSERT_TRUE(groups.SetField(s("Groupe_Name"), s(name)).Ok());
            ASSERT_TRUE(groups.Update().Ok()) << name;
        }
        EXPECT_TRUE(CloseIfOpen(groups).Ok());
    }

    TestEnv env;
};

}  // namespace

TEST_F(DataEnvTest, ShippedEventsDatabaseHoldsSystemRowThenTheBuiltInCategories)
{
    Recordset& categories = DataEnvironment1().rsCommand1;
    OpenIfClosed(categories);
    QStringList icons;
    while (!categories.Eof()) {
        icons.append(categories.Field(1).toString());
        ASSERT_TRUE(categories.MoveNext().Ok());
    }
    EXPECT_EQ(icons, (QStringList{s("System"), s("RES_1"), s("RES_2"), s("RES_3")}));
    EXPECT_TRUE(CloseIfOpen(categories).Ok());
    OpenIfClosed(DataEnvironment1().rsCommand2);
    EXPECT_EQ(DataEnvironment1().rsCommand2.RecordCount(), 0);
    OpenIfClosed(DataEnvironment1().rstbl_Phones);
    EXPECT_EQ(DataEnvironment1().rstbl_Phones.RecordCount(), 0);
    OpenIfClosed(DataEnvironment1().rstbl_Business);
    EXPECT_EQ(DataEnvironment1().rstbl_Business.RecordCount(), 0);
}

TEST_F(DataEnvTest, ContactRecordKeepsItsThirtyFiveColumnsInOrder)
{
    Recordset& phones = DataEnvironment1().rstbl_Phones;
    OpenIfClosed(phones);
    const QStringList expected = {
        s("Groupe_Name"),   s("Second_Name"),   s("First_Name"),   s("Third_Name"),       s("Home_Mobile"),
        s("Home_Phone"),    s("Personal_Photo"), s("Personal_Date"), s("Home_Country"),   s("Home_Region"),
        s("Home_City"),     s("Home_Index"),    s("Home_Fax"),     s("Home_Adress"),      s("Home_Mobile_Reserve"),
        s("Inet_ICQ"),      s("Inet_MSN"),      s("Inet_Skype"),   s("Inet_Email"),       s("Inet_Email_2"),
        s("Home_Web"),      s("Work_Place"),    s("Work_Post"),    s("Work_Region"),      s("Work_City"),
        s("Work_Adress"),   s("Work_Phone"),    s("Work_Fax"),     s("Personal_Sex"),     s("Personal_Status"),
        s("Personal_Childrens"), s("Personal_StatusDate"), s("Personal_MEMO"), s("Reserve"), s("ID")};
    QStringList names;
    for (const FieldInfo& field : phones.Fields())
        names.append(field.name);
    EXPECT_EQ(names, expected);
    EXPECT_EQ(phones.Fields()[7].type, ColumnType::Date);
    EXPECT_EQ(phones.Fields()[31].type, ColumnType::Date);

    ASSERT_TRUE(phones.AddNew().Ok());
    ASSERT_TRUE(phones.SetField(s("First_Name"), s("Ann")).Ok());
    ASSERT_TRUE(phones.SetField(6, QString(256, QLatin1Char('p'))).Ok());
    const DbResult tooLong = phones.Update();
    EXPECT_EQ(tooLong.status, DbStatus::Error);
    ASSERT_TRUE(phones.SetField(6, QString(255, QLatin1Char('p'))).Ok());
    ASSERT_TRUE(phones.Update().Ok());
    ASSERT_TRUE(phones.Resync().Ok());
    EXPECT_EQ(phones.Field(s("ID")).toLongLong(), 1);
    EXPECT_FALSE(phones.Field(s("Personal_Date")).isValid());
}

TEST_F(DataEnvTest, CategoryAndGroupNamesAreUniqueWhateverTheLetterCase)
{
    Recordset& categories = DataEnvironment1().rsCommand1;
    OpenIfClosed(categories);
    const auto add = [](Recordset& rs, const char* field, const char* name) {
        EXPECT_TRUE(rs.AddNew().Ok());
        EXPECT_TRUE(rs.SetField(s(field), s(name)).Ok());
        const DbResult result = rs.Update();
        if (!result.Ok())
            rs.CancelUpdate();
        return result.status;
    };
    EXPECT_EQ(add(categories, "Measure_Name", "офис"), DbStatus::Ok);
    EXPECT_EQ(add(categories, "Measure_Name", "ОФИС"), DbStatus::DuplicateKey);
    EXPECT_EQ(add(categories, "Measure_Name", "Work"), DbStatus::Ok);
    EXPECT_EQ(add(categories, "Measure_Name", "work"), DbStatus::DuplicateKey);
    EXPECT_EQ(add(categories, "Measure_Name", "birthdays"), DbStatus::DuplicateKey);
    EXPECT_TRUE(CloseIfOpen(categories).Ok());

    Recordset& groups = DataEnvironment1().rstbl_Groupes;
    OpenIfClosed(groups);
    EXPECT_EQ(add(groups, "Groupe_Name", "general"), DbStatus::DuplicateKey);
    EXPECT_EQ(add(groups, "Groupe_Name", "Работа"), DbStatus::Ok);
    EXPECT_EQ(add(groups, "Groupe_Name", "РАБОТА"), DbStatus::DuplicateKey);
    EXPECT_EQ(add(groups, "Groupe_Name", "O'Neil's"), DbStatus::Ok);
    EXPECT_TRUE(CloseIfOpen(groups).Ok());

    // A name with an apostrophe can be found again (and so deleted).
    OpenIfClosed(groups);
    ASSERT_TRUE(groups.Find(s("Groupe_Name = ") + Criteria::Quote(s("o'neil's"))).Ok());
    ASSERT_FALSE(groups.Eof());
    ASSERT_TRUE(groups.Delete().Ok());
    ASSERT_TRUE(groups.Resync().Ok());
    EXPECT_EQ(groups.RecordCount(), 2);
}

TEST_F(DataEnvTest, FillGroupComboListsTheGeneralGroupSecond)
{
    addGroups({"Friends", "Work"});
    QComboBox combo;
    combo.addItem(s("left over"));
    int clicks = 0;
    QObject::connect(&combo, &QComboBox::currentIndexChanged, [&](int index) {
        ++clicks;
        EXPECT_EQ(index, 0);
    });
    FillGroupCombo(&combo);
    EXPECT_EQ(items(combo), (QStringList{s("All groups"), s("General"), s("Friends"), s("Work")}));
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Forms::Get<frmProcess>().GeneralGroupName, s("General"));
    EXPECT_EQ(DataEnvironment1().rstbl_Groupes.State(), 0);
}

TEST_F(DataEnvTest, FillGroupComboWithoutAGeneralGroupKeepsTheStoredName)
{
    Recordset& groups = DataEnvironment1().rstbl_Groupes;
    OpenIfClosed(groups);
    ASSERT_TRUE(groups.Delete().Ok());
    EXPECT_TRUE(CloseIfOpen(groups).Ok());
    addGroups({"general", "Общая1"});
    Forms::Get<frmProcess>().GeneralGroupName = s("Общая");
    QComboBox combo;
    FillGroupCombo(&combo);
    EXPECT_EQ(items(combo), (QStringList{s("All groups"), s("general"), s("Общая1")}));
    EXPECT_EQ(Forms::Get<frmProcess>().GeneralGroupName, s("Общая"));
}

TEST_F(DataEnvTest, FillEventTypeComboShowsBuiltInCategoriesByTheirOwnTexts)
{
    frmProcess& process = Forms::Get<frmProcess>();
    process.BuiltInMeasure1 = s("Birthdays");
    process.BuiltInMeasure2 = s("Meetings");
    process.BuiltInMeasure3 = s("Holidays");
    ASSERT_TRUE(SetOwnText(s("evn2"), s("Appointments")));
    Recordset& categories = DataEnvironment1().rsCommand1;
    OpenIfClosed(categories);
    ASSERT_TRUE(categories.AddNew().Ok());
    ASSERT_TRUE(categories.SetField(0, s("Garden")).Ok());
    ASSERT_TRUE(categories.Update().Ok());
    QComboBox combo;
    int clicks = 0;
    QObject::connect(&combo, &QComboBox::currentIndexChanged, [&] { ++clicks; });
    FillEventTypeCombo(&combo);
    EXPECT_EQ(items(combo), (QStringList{s("System"), s("Birthdays"), s("Appointments"), s("Holidays"), s("Garden")}));
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(categories.State(), 0);
}

TEST_F(DataEnvTest, StateHelpersActOnlyWhenTheStateMatches)
{
    DataEnvironment& data = DataEnvironment1();
    EXPECT_EQ(data.Connection1.State(), 0);
    OpenIfClosed(data.rsCommand3);
    EXPECT_EQ(data.Connection1.State(), 1);
    ASSERT_TRUE(data.rsCommand3.SetFilter(s("Measure_Name LIKE ") + Criteria::LiteralPrefix(s("Birthdays"))).Ok());
    OpenIfClosed(data.rsCommand3);
    EXPECT_EQ(data.rsCommand3.Filter(), s("Measure_Name LIKE 'Birthdays*'"));
    EXPECT_TRUE(UpdateIfRecords(data.rsCommand3).Ok());

    ASSERT_TRUE(data.rsCommand3.AddNew().Ok());
    ASSERT_TRUE(data.rsCommand3.SetField(s("Measure_Name"), s("Birthdays")).Ok());
    ASSERT_TRUE(data.rsCommand3.SetField(s("Step_Name"), s("Ann")).Ok());
    ASSERT_TRUE(data.rsCommand3.SetField(s("Step_Date"), QDate(2025, 5, 1)).Ok());
    ASSERT_TRUE(data.rsCommand3.SetField(s("Step_Rep"), false).Ok());
    ASSERT_TRUE(data.rsCommand3.Update().Ok());
    ASSERT_TRUE(data.rsCommand3.Resync().Ok());
    EXPECT_EQ(data.rsCommand3.Field(6).toLongLong(), 1);
    ASSERT_TRUE(data.rsCommand3.SetField(s("Step_Name"), s("Ann B.")).Ok());
    EXPECT_TRUE(UpdateIfRecords(data.rsCommand3).Ok());
    EXPECT_FALSE(data.rsCommand3.EditPending());

    // The filter another user left is in force until the recordset is closed.
    OpenIfClosed(data.rsCommand2);
    EXPECT_EQ(data.rsCommand2.Filter(), QString());
    EXPECT_EQ(data.rsCommand2.Field(s("Step_Name")).toString(), s("Ann B."));
    EXPECT_TRUE(CloseIfOpen(data.rsCommand2).Ok());
    EXPECT_EQ(data.rsCommand3.Filter(), s("Measure_Name LIKE 'Birthdays*'"));
    EXPECT_TRUE(CloseIfOpen(data.rsCommand3).Ok());
    EXPECT_TRUE(CloseIfOpen(data.rsCommand3).Ok());
    OpenIfClosed(data.rsCommand3);
    EXPECT_EQ(data.rsCommand3.Filter(), QString());
    EXPECT_TRUE(CloseIfOpen(data.Connection1).Ok());
    EXPECT_EQ(data.rsCommand3.State(), 0);
    EXPECT_EQ(data.Connection1.State(), 0);
}

TEST_F(DataEnvTest, DatabasesOpenOnlyWithTheirOwnPasswords)
{
    DataEnvironment& data = DataEnvironment1();
    EXPECT_TRUE(data.Connection1.ConnectionString().endsWith(s(";Database Password=qk_mirtolven")));
    OpenIfClosed(data.Connection1);
    OpenIfClosed(data.Connection2);
    OpenIfClosed(data.Connection3);
    Connection other;
    EXPECT_EQ(other.Open(database("tesphn.db"), s("qk_mirtolven")).status, DbStatus::BadPassword);
    EXPECT_EQ(other.Open(database("tesbus.db"), s("QK_LAM")).status, DbStatus::BadPassword);
}

TEST_F(DataEnvTest, ToolChecksIntegrityAndTheKindsTables)
{
    EXPECT_TRUE(CheckDatabaseFile(database("tesryn.db"), schema("events")).Ok());
    EXPECT_TRUE(CheckDatabaseFile(database("tesphn.db"), schema("phones")).Ok());
    EXPECT_TRUE(CheckDatabaseFile(database("tesbus.db"), schema("tasks")).Ok());
    EXPECT_EQ(CheckDatabaseFile(database("tesbus.db"), schema("events")).status, DbStatus::BadPassword);

    // A table of another shape fails the check.
    Connection connection;
    ASSERT_TRUE(connection.Open(database("tesbus.db"), s("qk_lam")).Ok());
    ASSERT_TRUE(connection.Execute(s("ALTER TABLE tbl_Business ADD COLUMN extra TEXT")).Ok());
    EXPECT_TRUE(connection.Close().Ok());
    EXPECT_FALSE(CheckDatabaseFile(database("tesbus.db"), schema("tasks")).Ok());

    // A file with its pages damaged fails too, and the tool says so by its status.
    QByteArray bytes = ReadFile(database("tesphn.db"));
    for (int i = 4096; i < bytes.size(); i += 7)
        bytes[i] = char(0x5a);
    WriteFile(database("tesphn.db"), bytes);
    EXPECT_FALSE(CheckDatabaseFile(database("tesphn.db"), schema("phones")).Ok());
    const auto run = [](const QString& schemaPath, const QString& file) {
        QProcess tool;
        tool.start(QStringLiteral(TESSARYN_DBTOOL), {s("check"), schemaPath, file});
        tool.waitForFinished(30000);
        return tool.exitCode();
    };
    EXPECT_EQ(run(s(TESSARYN_SCHEMA_DIR "/events.sql"), database("tesryn.db")), 0);
    EXPECT_NE(run(s(TESSARYN_SCHEMA_DIR "/phones.sql"), database("tesphn.db")), 0);
}

TEST_F(DataEnvTest, MissingEventsDatabaseEndsWithMes281)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QFile::remove(database("tesryn.db"));
    EXPECT_EXIT(DataEnvironment1(), ::testing::ExitedWithCode(1), "The events database was not found");
}

TEST_F(DataEnvTest, DamagedPhoneBookEndsWithAMessageNamingTheFile)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    WriteFile(database("tesphn.db"), QByteArray(4096, 'x'));
    EXPECT_EXIT(OpenIfClosed(DataEnvironment1().rstbl_Phones), ::testing::ExitedWithCode(1),
                "tesphn\\.db is missing or damaged");
}

TEST_F(DataEnvTest, MissingTaskDatabaseEndsWithAMessageNamingTheFile)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QFile::remove(database("tesbus.db"));
    EXPECT_EXIT(OpenIfClosed(DataEnvironment1().rstbl_Business), ::testing::ExitedWithCode(1),
                "tesbus\\.db is missing or damaged");
}
