#include "core/SourceText.h"
#include "platform/BoundGridModel.h"
#include "platform/Connection.h"
#include "platform/Recordset.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <QTime>

#include <gtest/gtest.h>

#include <functional>

namespace {

const char* const Schema = R"(
CREATE TABLE db_meta (name TEXT PRIMARY KEY, value TEXT);
INSERT INTO db_meta VALUES ('password', 'secret');
CREATE TABLE items (Name TEXT NOT NULL COLLATE UNICODE_NOCASE UNIQUE, Day DATE, Done BOOLEAN, Note TEXT,
                    Id INTEGER PRIMARY KEY AUTOINCREMENT);
CREATE TABLE other (Label TEXT, Id INTEGER PRIMARY KEY AUTOINCREMENT);
)";

class RecordsetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.path() + s("/test.db");
        Connection builder;
        ASSERT_TRUE(builder.OpenNew(path).Ok());
        ASSERT_TRUE(builder.ExecuteScript(QString::fromUtf8(Schema)).Ok());
        EXPECT_TRUE(builder.Close().Ok());
        ASSERT_TRUE(connection.Open(path, s("secret")).Ok());
    }

    // Adds rows straight to the file (ids 1, 2, ... in this order).
    void seed(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            ASSERT_TRUE(connection.Execute(s("INSERT INTO items (Name, Done) VALUES (?, 0)"), {s(name)}).Ok());
    }

    // What the file holds, read through a connection of its own.
    QStringList namesInFile()
    {
        Connection reader;
        EXPECT_TRUE(reader.Open(path, s("secret")).Ok());
        QList<QVariantList> rows;
        EXPECT_TRUE(reader.Query(s("SELECT Name FROM items ORDER BY Id"), {}, &rows).Ok());
        QStringList names;
        for (const QVariantList& r : rows)
            names.append(r.value(0).toString());
        return names;
    }

    // Rows "n0000", "n0001", ... enough that Open reads only the first of them.
    void seedMany(int count = 2500)
    {
        ASSERT_TRUE(connection.BeginTrans().Ok());
        for (int i = 0; i < count; ++i)
            ASSERT_TRUE(connection.Execute(s("INSERT INTO items (Name, Done) VALUES (?, 0)"),
                                           {s("n%1").arg(i, 4, 10, QLatin1Char('0'))})
                            .Ok());
        ASSERT_TRUE(connection.CommitTrans().Ok());
    }

    static QStringList visibleNames(Recordset& rs)
    {
        QStringList names;
        for (int i = 0; i < rs.RecordCount(); ++i)
            names.append(rs.ValueAt(i, 0).toString());
        return names;
    }

    QTemporaryDir dir;
    QString path;
    Connection connection;
};

}  // namespace

TEST_F(RecordsetTest, OpenReadsRowsInTableOrderAndWalksThem)
{
    seed({"b", "a", "c"});
    Recordset rs(connection, s("items"));
    EXPECT_EQ(rs.State(), 0);
    ASSERT_TRUE(rs.Open().Ok());
    EXPECT_EQ(rs.State(), 1);
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_FALSE(rs.Bof());
    EXPECT_EQ(rs.Field(s("Name")).toString(), s("b"));
    EXPECT_EQ(rs.Field(4).toLongLong(), 1);
    QStringList walked;
    while (!rs.Eof()) {
        walked.append(rs.Field(0).toString());
        ASSERT_TRUE(rs.MoveNext().Ok());
    }
    EXPECT_EQ(walked, (QStringList{s("b"), s("a"), s("c")}));
    EXPECT_FALSE(rs.MoveNext().Ok());
    ASSERT_TRUE(rs.MoveLast().Ok());
    EXPECT_EQ(rs.Field(0).toString(), s("c"));
    ASSERT_TRUE(rs.MovePrevious().Ok());
    ASSERT_TRUE(rs.MovePrevious().Ok());
    ASSERT_TRUE(rs.MovePrevious().Ok());
    EXPECT_TRUE(rs.Bof());
    EXPECT_FALSE(rs.Field(0).isValid());
    EXPECT_FALSE(rs.Open().Ok());
}

TEST_F(RecordsetTest, EmptyTableIsAtBothEndsAndCloseDropsFilterAndSort)
{
    Recordset rs(connection, s("items"));
    ASSERT_TRUE(rs.Open().Ok());
    EXPECT_TRUE(rs.Eof());
    EXPECT_TRUE(rs.Bof());
    EXPECT_EQ(rs.CurrentId(), 0);
    EXPECT_FALSE(rs.SetField(0, s("x")).Ok());
    ASSERT_TRUE(rs.SetFilter(s("Name = 'x'")).Ok());
    ASSERT_TRUE(rs.SetSort(s("Name DESC")).Ok());
    EXPECT_TRUE(rs.Close().Ok());
    EXPECT_EQ(rs.State(), 0);
    ASSERT_TRUE(rs.Open().Ok());
    EXPECT_EQ(rs.Filter(), QString());
    EXPECT_EQ(rs.Sort(), QString());
    Recordset missing(connection, s("nothing"));
    EXPECT_FALSE(missing.Open().Ok());
}

TEST_F(RecordsetTest, FieldWritesAreHeldUntilUpdateOrAMove)
{
    seed({"a", "b"});
    Recordset rs(connection, s("items"));
    ASSERT_TRUE(rs.Open().Ok());
    ASSERT_TRUE(rs.SetField(s("Name"), s("a2")).Ok());
    EXPECT_TRUE(rs.EditPending());
    EXPECT_EQ(rs.Field(0).toString(), s("a2"));
    EXPECT_EQ(namesInFile(), (QStringList{s("a"), s("b")}));
    ASSERT_TRUE(rs.MoveNext().Ok());
    EXPECT_EQ(namesInFile(), (QStringList{s("a2"), s("b")}));
    ASSERT_TRUE(rs.SetField(0, s("b2")).Ok());
    rs.CancelUpdate();
    EXPECT_EQ(rs.Field(0).toString(), s("b"));
    EXPECT_TRUE(rs.Update().Ok());
    EXPECT_EQ(namesInFile(), (QStringList{s("a2"), s("b")}));
    ASSERT_TRUE(rs.SetField(0, s("b3")).Ok());
    ASSERT_TRUE(rs.Find(s("Name = 'b3'")).Ok());
    EXPECT_EQ(namesInFile(), (QStringList{s("a2"), s("b3")}));
    ASSERT_TRUE(rs.SetField(0, s("b4")).Ok());
    EXPECT_TRUE(rs.Close().Ok());
    EXPECT_EQ(namesInFile(), (QStringList{s("a2"), s("b4")}));
    EXPECT_FALSE(rs.SetField(s("Nope"), 1).Ok());
}

TEST_F(RecordsetTest, AddNewThenUpdateLeavesTheNewRowCurrentWithItsId)
{
    seed({"a"});
    Recordset rs(connection, s("items"));
    ASSERT_TRUE(rs.Open().Ok());
    ASSERT_TRUE(rs.AddNew().Ok());
    EXPECT_FALSE(rs.Eof());
    EXPECT_EQ(rs.CurrentId(), 0);
    ASSERT_TRUE(rs.SetField(s("Name"), s("new")).Ok());
    EXPECT_FALSE(rs.SetField(s("Id"), 99).Ok());
    ASSERT_TRUE(rs.Update().Ok());
    EXPECT_EQ(rs.CurrentId(), 2);
    EXPECT_EQ(rs.Field(s("Id")).toLongLong(), 2);
    EXPECT_EQ(rs.Field(s("Name")).toString(), s("new"));
    EXPECT_EQ(rs.RecordCount(), 2);
    ASSERT_TRUE(rs.Resync().Ok());
    EXPECT_EQ(rs.CurrentId(), 2);

    ASSERT_TRUE(rs.MoveFirst().Ok());
    ASSERT_TRUE(rs.AddNew().Ok());
    rs.CancelUpdate();
    EXPECT_EQ(rs.CurrentId(), 1);
    EXPECT_EQ(namesInFile(), (QStringList{s("a"), s("new")}));

    // An id once given is never given again.
    ASSERT_TRUE(rs.MoveLast().Ok());
    ASSERT_TRUE(rs.Delete().Ok());
    ASSERT_TRUE(rs.AddNew().Ok());
    ASSERT_TRUE(rs.SetField(0, s("again")).Ok());
    ASSERT_TRUE(rs.MoveFirst().Ok());
    EXPECT_EQ(namesInFile(), (QStringList{s("a"), s("again")}));
    ASSERT_TRUE(rs.MoveLast().Ok());
    EXPECT_EQ(rs.CurrentId(), 3);
}

TEST_F(RecordsetTest, DeleteThenMoveNextLandsOnTheRowAfter)
{
    seed({"a", "b", "c", "d"});
    Recordset rs(connection, s("items"));
    ASSERT_TRUE(rs.Open().Ok());
    ASSERT_TRUE(rs.MoveNext().Ok());
    ASSERT_TRUE(rs.Delete().Ok());
    EXPECT_FALSE(rs.Eof());
    EXPECT_EQ(rs.RecordCount(), 3);
    ASSERT_TRUE(rs.MoveNext().Ok());
    EXPECT_EQ(rs.Field(0).toString(), s("c"));
    ASSERT_TRUE(rs.Delete().Ok());
    ASSERT_TRUE(rs.MovePrevious().Ok());
    EXPECT_EQ(rs.Field(0).toString(), s("a"));
    ASSERT_TRUE(rs.MoveLast().Ok());
    ASSERT_TRUE(rs.Delete().Ok());
    ASSERT_TRUE(rs.MoveNext().Ok());
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(namesInFile(), QStringList{s("a")});

    // The walk that deletes some rows on its way visits every row once.
    seed({"x1", "keep", "x2", "x3", "keep2"});
    ASSERT_TRUE(rs.Resync().Ok());
    ASSERT_TRUE(rs.MoveFirst().Ok());
    int visited = 0;
    while (!rs.Eof()) {
        ++visited;
        if (rs.Field(0).toString().startsWith(QLatin1Char('x'))) {
            ASSERT_TRUE(rs.Delete().Ok());
        }
        ASSERT_TRUE(rs.MoveNext().Ok());
    }
    EXPECT_EQ(visited, 6);
    EXPECT_EQ(namesInFile(), (QStringList{s("a"), s("keep"), s("keep2")}));
}

TEST_F(RecordsetTest, FilterSortAndFindKeepTheCurrentRowById)
{
    seed({"Cherry", "apple", "Banana", "avocado"});
    Recordset rs(connection, s("items"));
    ASSERT_TRUE(rs.Open().Ok());
    ASSERT_TRUE(rs.MoveToId(3));
    ASSERT_TRUE(rs.SetSort(s("Name")).Ok());
    EXPECT_EQ(visibleNames(rs), (QStringList{s("apple"), s("avocado"), s("Banana"), s("Cherry")}));
    EXPECT_EQ(rs.Field(0).toString(), s("Banana"));
    EXPECT_EQ(rs.AbsolutePosition(), 2);
    ASSERT_TRUE(rs.SetSort(s("Name DESC")).Ok());
    EXPECT_EQ(rs.Field(0).toString(), s("Banana"));
    ASSERT_TRUE(rs.SetFilter(s("Name LIKE 'A*'")).Ok());
    EXPECT_EQ(visibleNames(rs), (QStringList{s("avocado"), s("apple")}));
    EXPECT_EQ(rs.Field(0).toString(), s("avocado"));
    EXPECT_EQ(rs.SetFilter(s("Name LIKE")).status, DbStatus::BadCriteria);
    EXPECT_EQ(rs.Filter(), s("Name LIKE 'A*'"));
    EXPECT_EQ(rs.SetSort(s("Nope")).status, DbStatus::BadCriteria);

    ASSERT_TRUE(rs.SetFilter(QString()).Ok());
    ASSERT_TRUE(rs.SetSort(QString()).Ok());
    ASSERT_TRUE(rs.MoveFirst().Ok());
    ASSERT_TRUE(rs.Find(s("Name LIKE 'a*'")).Ok());
    EXPECT_EQ(rs.CurrentId(), 2);
    ASSERT_TRUE(rs.Find(s("Name LIKE 'a*'")).Ok());
    EXPECT_EQ(rs.CurrentId(), 2);
    ASSERT_TRUE(rs.MoveNext().Ok());
    ASSERT_TRUE(rs.Find(s("Name LIKE 'a*'")).Ok());
    EXPECT_EQ(rs.CurrentId(), 4);
    ASSERT_TRUE(rs.Find(s("Name = 'Cherry'")).Ok());
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(rs.Find(s("Name = 'x")).status, DbStatus::BadCriteria);
}

TEST_F(RecordsetTest, OneRecordsetSharedByTwoUsersKeepsFilterAndShowsItsOwnNewRows)
{
    seed({"Work", "Home"});
    Recordset shared(connection, s("items"));
    Recordset& planner = shared;
    Recordset& report = shared;
    ASSERT_TRUE(planner.Open().Ok());
    ASSERT_TRUE(planner.SetFilter(s("Name LIKE 'Wo*'")).Ok());
    EXPECT_EQ(report.Filter(), s("Name LIKE 'Wo*'"));
    EXPECT_EQ(report.RecordCount(), 1);

    // A row added or changed here stays visible until the filter is set again.
    ASSERT_TRUE(report.AddNew().Ok());
    ASSERT_TRUE(report.SetField(0, s("Elsewhere")).Ok());
    ASSERT_TRUE(report.Update().Ok());
    ASSERT_TRUE(report.Resync().Ok());
    EXPECT_EQ(visibleNames(planner), (QStringList{s("Work"), s("Elsewhere")}));
    EXPECT_EQ(planner.Field(0).toString(), s("Elsewhere"));
    ASSERT_TRUE(planner.SetFilter(planner.Filter()).Ok());
    EXPECT_EQ(visibleNames(report), QStringList{s("Work")});

    // Another recordset of the same table sees the new row after its Resync.
    Recordset second(connection, s("items"));
    ASSERT_TRUE(second.Open().Ok());
    EXPECT_EQ(second.RecordCount(), 3);
    ASSERT_TRUE(connection.Execute(s("DELETE FROM items WHERE Name = ?"), {s("Home")}).Ok());
    EXPECT_EQ(second.RecordCount(), 3);
    ASSERT_TRUE(second.Resync().Ok());
    EXPECT_EQ(visibleNames(second), (QStringList{s("Work"), s("Elsewhere")}));
}

TEST_F(RecordsetTest, UniqueNamesIgnoreLetterCaseAndReportDuplicateKey)
{
    seed({"Work", "офис"});
    Recordset rs(connection, s("items"));
    ASSERT_TRUE(rs.Open().Ok());
    for (const char* name : {"work", "WORK", "ОФИС", "Офис"}) {
        ASSERT_TRUE(rs.AddNew().Ok());
        ASSERT_TRUE(rs.SetField(0, s(name)).Ok());
        const DbResult result = rs.Update();
        EXPECT_EQ(result.status, DbStatus::DuplicateKey) << name;
        EXPECT_TRUE(rs.EditPending());
        rs.CancelUpdate();
    }
    ASSERT_TRUE(rs.MoveFirst().Ok());
    ASSERT_TRUE(rs.SetField(0, s("ОФИС")).Ok());
    EXPECT_EQ(rs.MoveNext().status, DbStatus::DuplicateKey);
    EXPECT_EQ(rs.CurrentId(), 1);
    rs.CancelUpdate();
    ASSERT_TRUE(rs.AddNew().Ok());
    const DbResult missingName = rs.Update();
    EXPECT_EQ(missingName.status, DbStatus::Error);
    EXPECT_FALSE(missingName.text.isEmpty());
    rs.CancelUpdate();
    EXPECT_EQ(namesInFile(), (QStringList{s("Work"), s("офис")}));
}

TEST_F(RecordsetTest, RollbackUndoesWritesOfTwoRecordsetsInFileAndMemory)
{
    seed({"a"});
    Recordset items(connection, s("items"));
    Recordset other(connection, s("other"));
    ASSERT_TRUE(items.Open().Ok());
    ASSERT_TRUE(other.Open().Ok());
    ASSERT_TRUE(connection.BeginTrans().Ok());
    EXPECT_FALSE(connection.BeginTrans().Ok());
    ASSERT_TRUE(items.SetField(0, s("changed")).Ok());
    ASSERT_TRUE(items.Update().Ok());
    ASSERT_TRUE(items.AddNew().Ok());
    ASSERT_TRUE(items.SetField(0, s("added")).Ok());
    ASSERT_TRUE(items.Update().Ok());
    ASSERT_TRUE(other.AddNew().Ok());
    ASSERT_TRUE(other.SetField(0, s("label")).Ok());
    ASSERT_TRUE(other.Update().Ok());
    ASSERT_TRUE(connection.RollbackTrans().Ok());
    EXPECT_EQ(visibleNames(items), QStringList{s("a")});
    EXPECT_EQ(other.RecordCount(), 0);
    EXPECT_EQ(namesInFile(), QStringList{s("a")});

    ASSERT_TRUE(connection.BeginTrans().Ok());
    ASSERT_TRUE(items.MoveFirst().Ok());
    ASSERT_TRUE(items.Delete().Ok());
    ASSERT_TRUE(other.AddNew().Ok());
    ASSERT_TRUE(other.SetField(0, s("kept")).Ok());
    ASSERT_TRUE(other.Update().Ok());
    ASSERT_TRUE(connection.CommitTrans().Ok());
    EXPECT_EQ(namesInFile(), QStringList());
    EXPECT_FALSE(connection.CommitTrans().Ok());
    ASSERT_TRUE(other.Resync().Ok());
    EXPECT_EQ(other.Field(0).toString(), s("kept"));
}

TEST_F(RecordsetTest, NullStaysApartFromTheEmptyText)
{
    seed({"a", "b"});
    Recordset rs(connection, s("items"));
    ASSERT_TRUE(rs.Open().Ok());
    ASSERT_TRUE(rs.SetField(s("Note"), QString()).Ok());
    ASSERT_TRUE(rs.MoveNext().Ok());
    ASSERT_TRUE(rs.SetField(s("Note"), QVariant()).Ok());
    ASSERT_TRUE(rs.Update().Ok());
    QList<QVariantList> rows;
    ASSERT_TRUE(connection.Query(s("SELECT Note IS NULL, Note = '' FROM items ORDER BY Id"), {}, &rows).Ok());
    EXPECT_EQ(rows[0], (QVariantList{qint64(0), qint64(1)}));
    EXPECT_EQ(rows[1].value(0), QVariant(qint64(1)));
    ASSERT_TRUE(rs.Resync().Ok());
    ASSERT_TRUE(rs.MoveFirst().Ok());
    EXPECT_TRUE(rs.Field(s("Note")).isValid());
    EXPECT_EQ(rs.Field(s("Note")).toString(), QString());
    ASSERT_TRUE(rs.MoveNext().Ok());
    EXPECT_FALSE(rs.Field(s("Note")).isValid());
    ASSERT_TRUE(rs.SetFilter(s("Note = ''")).Ok());
    EXPECT_EQ(visibleNames(rs), QStringList{s("a")});
}

TEST_F(RecordsetTest, TextsReadOutLiveOnAfterTheRecordsetClosesInEveryScript)
{
    const QStringList names = {s("Ivan"), s("Щука"), s("日本 😀"), s("café"), s("")};
    for (const QString& name : names)
        ASSERT_TRUE(connection.Execute(s("INSERT INTO items (Name, Note) VALUES (?, ?)"), {name, s("n ") + name}).Ok());
    Recordset rs(connection, s("items"));
    ASSERT_TRUE(rs.Open().Ok());
    QStringList read;
    for (int i = 0; i < rs.RecordCount(); ++i)
        read << rs.ValueAt(i, 0).toString() << rs.ValueAt(i, 3).toString();
    // A text read out is a string of its own: changing it leaves the row alone, and
    // it ends in the zero that C interfaces expect.
    QString changed = rs.ValueAt(0, 0).toString();
    changed[0] = QLatin1Char('J');
    changed.append(s(" and more"));
    EXPECT_EQ(rs.ValueAt(0, 0).toString(), s("Ivan"));
    const QString second = rs.ValueAt(1, 0).toString();
    EXPECT_EQ(second.utf16()[second.size()], 0);
    ASSERT_TRUE(rs.MoveLast().Ok());
    QString note = rs.Field(s("Note")).toString();
    EXPECT_TRUE(rs.Close().Ok());
    // Alone with its text now, growing it must not write over the texts read before.
    note.append(s("grown beyond its place"));
    QStringList expected;
    for (const QString& name : names)
        expected << name << s("n ") + name;
    EXPECT_EQ(read, expected);
    EXPECT_EQ(note, s("n grown beyond its place"));
}

TEST_F(RecordsetTest, TextsSetHereSortAndFilterWithTheTextsReadAndLongTextsStayWhole)
{
    const QString longNote = QString(5000, QLatin1Char('x')) + s("Щ");
    seed({"Cherry", "apple", "banana"});
    ASSERT_TRUE(connection.Execute(s("UPDATE items SET Note = ? WHERE Id = 2"), {longNote}).Ok());
    Recordset rs(connection, s("items"));
    ASSERT_TRUE(rs.Open().Ok());
    ASSERT_TRUE(rs.SetField(s("Name"), s("Avocado")).Ok());
    ASSERT_TRUE(rs.Update().Ok());
    ASSERT_TRUE(rs.SetSort(s("Name")).Ok());
    EXPECT_EQ(visibleNames(rs), (QStringList{s("apple"), s("Avocado"), s("banana")}));
    ASSERT_TRUE(rs.SetFilter(s("Name >= 'AVOCADO'")).Ok());
    EXPECT_EQ(visibleNames(rs), (QStringList{s("Avocado"), s("banana")}));
    ASSERT_TRUE(rs.SetFilter(QString()).Ok());
    EXPECT_EQ(rs.ValueAt(0, 3).toString(), longNote);
}

TEST_F(RecordsetTest, ValuesConvertByTheDeclaredColumnType)
{
    Recordset rs(connection, s("items"));
    ASSERT_TRUE(rs.Open().Ok());
    ASSERT_TRUE(rs.AddNew().Ok());
    ASSERT_TRUE(rs.SetField(s("Name"), s("x")).Ok());
    ASSERT_TRUE(rs.SetField(s("Day"), QDateTime(QDate(2024, 2, 29), QTime(23, 59))).Ok());
    EXPECT_EQ(rs.Field(s("Day")), QVariant(QDate(2024, 2, 29)));
    ASSERT_TRUE(rs.SetField(s("Done"), s("True")).Ok());
    ASSERT_TRUE(rs.SetField(s("Note"), QTime(9, 5, 7)).Ok());
    EXPECT_EQ(rs.Field(s("Note")), QVariant(s("09:05:07")));
    EXPECT_FALSE(rs.SetField(s("Day"), s("yesterday")).Ok());
    EXPECT_FALSE(rs.SetField(s("Day"), s("2024-02-30")).Ok());
    EXPECT_FALSE(rs.SetField(s("Done"), s("perhaps")).Ok());
    ASSERT_TRUE(rs.Update().Ok());
    QList<QVariantList> rows;
    ASSERT_TRUE(connection.Query(s("SELECT Day, Done, Note, typeof(Id) FROM items"), {}, &rows).Ok());
    EXPECT_EQ(rows[0], (QVariantList{s("2024-02-29"), qint64(1), s("09:05:07"), s("integer")}));

    ASSERT_TRUE(
        connection.Execute(s("INSERT INTO items (Name, Day, Done) VALUES ('y', '2023-07-01 10:00:00', 0)")).Ok());
    ASSERT_TRUE(rs.Resync().Ok());
    ASSERT_TRUE(rs.MoveLast().Ok());
    EXPECT_EQ(rs.Field(s("Day")), QVariant(QDate(2023, 7, 1)));
    EXPECT_EQ(rs.Field(s("Done")).typeId(), QMetaType::Bool);
    EXPECT_FALSE(rs.Field(s("Done")).toBool());
    EXPECT_EQ(rs.Field(s("Id")).typeId(), QMetaType::LongLong);
    ASSERT_TRUE(rs.SetFilter(s("Day = #7/1/2023#")).Ok());
    EXPECT_EQ(visibleNames(rs), QStringList{s("y")});
}

TEST_F(RecordsetTest, ConnectionRefusesAnotherPasswordAndForeignFiles)
{
    Connection wrong;
    EXPECT_EQ(wrong.Open(path, s("Secret")).status, DbStatus::BadPassword);
    EXPECT_EQ(wrong.State(), 0);
    EXPECT_EQ(wrong.Open(path, QString()).status, DbStatus::BadPassword);
    wrong.SetConnectionString(Connection::MakeConnectionString(path, s("secret")));
    EXPECT_TRUE(wrong.Open().Ok());
    EXPECT_EQ(wrong.Path(), path);
    EXPECT_TRUE(wrong.Close().Ok());

    Connection foreign;
    const QString other = dir.path() + s("/foreign;name.db");
    ASSERT_TRUE(foreign.OpenNew(other).Ok());
    ASSERT_TRUE(foreign.ExecuteScript(s("CREATE TABLE t (x TEXT);")).Ok());
    EXPECT_TRUE(foreign.Close().Ok());
    foreign.SetConnectionString(Connection::MakeConnectionString(other, s("secret")));
    EXPECT_EQ(foreign.Path(), other);
    EXPECT_EQ(foreign.Open().status, DbStatus::BadPassword);

    const QString garbage = dir.path() + s("/garbage.db");
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    Connection damaged;
    const DbResult result = damaged.Open(garbage, s("secret"));
    EXPECT_FALSE(result.Ok());
    EXPECT_TRUE(result.text.contains(garbage));
    EXPECT_FALSE(damaged.Open(dir.path() + s("/missing.db"), s("secret")).Ok());
    EXPECT_FALSE(QFile::exists(dir.path() + s("/missing.db")));
}

TEST_F(RecordsetTest, ExecuteBindsValuesAsData)
{
    seed({"O'Brien"});
    int changed = 0;
    ASSERT_TRUE(connection.Execute(s("UPDATE items SET Note = ? WHERE Name = ?"), {s("'); DROP TABLE items; --"),
                                                                                    s("o'brien")},
                                   &changed)
                    .Ok());
    EXPECT_EQ(changed, 1);
    QList<QVariantList> rows;
    ASSERT_TRUE(connection.Query(s("SELECT Note FROM items"), {}, &rows).Ok());
    EXPECT_EQ(rows.value(0).value(0).toString(), s("'); DROP TABLE items; --"));
    EXPECT_FALSE(connection.Execute(s("UPDATE nowhere SET x = 1")).Ok());
}

TEST_F(RecordsetTest, GridFollowsFilterSortAndChangesByOtherUsers)
{
    seed({"b", "a", "c"});
    Recordset rs(connection, s("items"));
    ASSERT_TRUE(rs.Open().Ok());
    BoundGridModel model(rs);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.columnCount(), 5);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), s("Name"));
    model.SetColumns({3, 0});
    model.SetHeader(1, s("Title"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), s("Title"));
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), s("b"));

    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    ASSERT_TRUE(rs.SetSort(s("Name")).Ok());
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), s("a"));
    ASSERT_TRUE(rs.SetFilter(s("Name <> 'b'")).Ok());
    EXPECT_EQ(model.rowCount(), 2);

    int changes = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&] { ++changes; });
    ASSERT_TRUE(rs.MoveToId(3));
    ASSERT_TRUE(rs.SetField(0, s("c2")).Ok());
    ASSERT_TRUE(rs.Update().Ok());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), s("c2"));

    model.SetDisplayFormat(0, [](const QVariant& v) { return v.isValid() ? s("note") : s("none"); });
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), s("none"));
    EXPECT_TRUE(rs.Close().Ok());
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(RecordsetTest, GridRefusesBeforeWritingAndWritesAcceptedEditsThrough)
{
    seed({"a", "b"});
    Recordset rs(connection, s("items"));
    ASSERT_TRUE(rs.Open().Ok());
    BoundGridModel model(rs);
    EXPECT_FALSE(model.setData(model.index(0, 0), s("x")));
    model.SetEditable(0, true);
    EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(model.index(0, 3)) & Qt::ItemIsEditable);
    int asked = 0;
    model.SetValidator([&](int column, const QVariant& value) {
        ++asked;
        return column != 0 || !value.toString().isEmpty();
    });
    EXPECT_FALSE(model.setData(model.index(1, 0), QString()));
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(rs.EditPending());
    EXPECT_EQ(namesInFile(), (QStringList{s("a"), s("b")}));

    int written = 0;
    QObject::connect(&model, &BoundGridModel::CellWritten, [&] { ++written; });
    EXPECT_TRUE(model.setData(model.index(1, 0), s("b2")));
    EXPECT_EQ(written, 1);
    EXPECT_EQ(rs.CurrentId(), 2);
    EXPECT_EQ(namesInFile(), (QStringList{s("a"), s("b2")}));

    int failed = 0;
    QObject::connect(&model, &BoundGridModel::WriteFailed, [&] { ++failed; });
    EXPECT_FALSE(model.setData(model.index(0, 0), s("B2")));
    EXPECT_EQ(failed, 1);
    EXPECT_FALSE(rs.EditPending());
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), s("a"));

    int current = 0;
    QObject::connect(&model, &BoundGridModel::CurrentRowChanged, [&] { ++current; });
    model.SetCurrentRow(1);
    EXPECT_EQ(rs.CurrentId(), 2);
    EXPECT_EQ(model.CurrentRow(), 1);
    EXPECT_GE(current, 1);
}

TEST_F(RecordsetTest, ALargeTableReadAsShownGivesTheAnswersOfAWholeRead)
{
    seedMany();
    // Each case runs on a recordset just opened, which is still reading, and on one
    // read whole; both must answer alike.
    const struct {
        const char* name;
        std::function<QString(Recordset&)> ask;
    } cases[] = {
        {"count", [](Recordset& rs) { return QString::number(rs.RecordCount()); }},
        {"last row", [](Recordset& rs) { return rs.MoveLast().Ok() ? rs.Field(0).toString() : s("failed"); }},
        {"a row not read yet", [](Recordset& rs) { return rs.ValueAt(2400, 0).toString(); }},
        {"find", [](Recordset& rs) { return rs.Find(s("Name = 'n2222'")).Ok() ? QString::number(rs.CurrentId()) : s("failed"); }},
        {"sort", [](Recordset& rs) { return rs.SetSort(s("Name DESC")).Ok() ? rs.Field(0).toString() : s("failed"); }},
        {"filter on late rows",
         [](Recordset& rs) {
             if (!rs.SetFilter(s("Name LIKE 'n24*'")).Ok())
                 return s("failed");
             return s("%1 %2 %3").arg(rs.Eof()).arg(rs.Field(0).toString()).arg(rs.RecordCount());
         }},
        {"current row kept through a filter",
         [](Recordset& rs) {
             if (!rs.MoveTo(3).Ok() || !rs.SetFilter(s("Name LIKE 'n0*'")).Ok())
                 return s("failed");
             return s("%1 %2").arg(rs.AbsolutePosition()).arg(rs.RecordCount());
         }},
        {"edit of a late row",
         [this](Recordset& rs) {
             if (!rs.MoveToId(2300) || !rs.SetField(0, s("late")).Ok() || !rs.Update().Ok())
                 return s("failed");
             const QString names = namesInFile().mid(2298, 3).join(u',');
             return rs.SetField(0, s("n2299")).Ok() && rs.Update().Ok() ? names : s("failed");
         }},
    };
    for (const auto& c : cases) {
        Recordset lazy(connection, s("items"));
        Recordset whole(connection, s("items"));
        ASSERT_TRUE(lazy.Open().Ok());
        ASSERT_TRUE(whole.Open().Ok());
        ASSERT_TRUE(lazy.Fetching()) << c.name;
        ASSERT_LT(lazy.FetchedCount(), 2500);
        EXPECT_EQ(whole.RecordCount(), 2500);
        EXPECT_EQ(c.ask(lazy), c.ask(whole)) << c.name;
        EXPECT_FALSE(lazy.Fetching()) << c.name;
    }
}

TEST_F(RecordsetTest, ARecordsetStillReadingIsOneStateOfTheFile)
{
    seedMany();
    // A write on the connection comes after the whole read: it shows at the Resync.
    Recordset rs(connection, s("items"));
    ASSERT_TRUE(rs.Open().Ok());
    ASSERT_TRUE(connection.Execute(s("DELETE FROM items WHERE Name = 'n2499'")).Ok());
    EXPECT_FALSE(rs.Fetching());
    EXPECT_EQ(rs.RecordCount(), 2500);
    ASSERT_TRUE(rs.Resync().Ok());
    EXPECT_EQ(rs.RecordCount(), 2499);
    // Another connection's write between two reads: every row is read afresh.
    ASSERT_TRUE(rs.Close().Ok());
    ASSERT_TRUE(rs.Open().Ok());
    ASSERT_TRUE(rs.FetchMore(0).Ok() && rs.Fetching());
    {
        Connection other;
        ASSERT_TRUE(other.Open(path, s("secret")).Ok());
        ASSERT_TRUE(other.Execute(s("UPDATE items SET Name = 'first' WHERE Id = 1")).Ok());
        ASSERT_TRUE(other.Execute(s("UPDATE items SET Name = 'last' WHERE Id = 2499")).Ok());
    }
    EXPECT_EQ(rs.ValueAt(2498, 0).toString(), s("last"));
    EXPECT_EQ(rs.ValueAt(0, 0).toString(), s("first"));
    // A Resync of a file nobody wrote gives the same rows; after another
    // connection's write it reads them again.
    ASSERT_TRUE(rs.Resync().Ok());
    EXPECT_EQ(rs.ValueAt(0, 0).toString(), s("first"));
    {
        Connection other;
        ASSERT_TRUE(other.Open(path, s("secret")).Ok());
        ASSERT_TRUE(other.Execute(s("UPDATE items SET Name = 'again' WHERE Id = 1")).Ok());
    }
    ASSERT_TRUE(rs.Resync().Ok());
    EXPECT_EQ(rs.ValueAt(0, 0).toString(), s("again"));
}

TEST_F(RecordsetTest, TheGridShowsALargeTableAsItIsReadAndWritesEditsThrough)
{
    seedMany();
    Recordset rs(connection, s("items"));
    ASSERT_TRUE(rs.Open().Ok());
    ASSERT_TRUE(rs.SetFilter(s("Name LIKE '*5'")).Ok());
    BoundGridModel model(rs);
    model.SetEditable(0, true);
    EXPECT_LT(model.rowCount(), 250);
    EXPECT_TRUE(model.canFetchMore({}));
    int inserted = 0, resets = 0;
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] { ++inserted; });
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    // An edit while rows are still to come is written, and the rest are read first.
    EXPECT_TRUE(model.setData(model.index(1, 0), s("edited")));
    EXPECT_FALSE(model.canFetchMore({}));
    EXPECT_EQ(model.rowCount(), 250);
    EXPECT_EQ(namesInFile()[15], s("edited"));
    EXPECT_EQ(model.data(model.index(249, 0)).toString(), s("n2495"));
    EXPECT_EQ(inserted, 1);
    EXPECT_EQ(resets, 0);

    // The grid's own steps bring in the same rows as a whole read.
    ASSERT_TRUE(rs.Close().Ok());
    ASSERT_TRUE(rs.Open().Ok());
    ASSERT_TRUE(rs.SetFilter(s("Name LIKE '*5'")).Ok());
    while (model.canFetchMore({}))
        model.fetchMore({});
    QStringList shown;
    for (int row = 0; row < model.rowCount(); ++row)
        shown.append(model.data(model.index(row, 0)).toString());
    Recordset whole(connection, s("items"));
    ASSERT_TRUE(whole.Open().Ok());
    ASSERT_TRUE(whole.SetFilter(s("Name LIKE '*5'")).Ok());
    EXPECT_EQ(shown, visibleNames(whole));
}
