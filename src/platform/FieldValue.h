#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QVariant>

struct sqlite3_stmt;

// How a column keeps its values, taken from the type the table declares:
// DATE a QDate (stored as "yyyy-MM-dd"), BOOLEAN a bool (stored 0 or 1), INTEGER a
// qint64, anything else a QString. NULL is an invalid QVariant everywhere, never
// the empty text; so is a stored value that does not read as its column's type (a
// date or flag that is no date or flag).
enum class ColumnType { Integer, Text, Date, Boolean };

ColumnType ColumnTypeOf(const QString& declaredType);

struct FieldInfo {
    QString name;
    ColumnType type = ColumnType::Text;
};

// Position of a field by its name in any letter case; -1 when there is none.
int FieldIndexOf(const QList<FieldInfo>& fields, const QString& name);

inline bool IsNullValue(const QVariant& value) { return !value.isValid() || value.isNull(); }

// Turns a value handed in by code into the value the column keeps, the same value
// it reads back as after being stored: a QDateTime or a text "yyyy-MM-dd..." for a
// DATE loses its time part, a QTime for a text column becomes "HH:mm:ss", a bool
// for a text column "True" or "False". False when the value does not fit the column.
bool ToColumnValue(ColumnType type, const QVariant& value, QVariant* result);

// The text a value shows in a criteria comparison or a LIKE match.
QString ValueText(const QVariant& value);

// A date "yyyy-MM-dd", optionally followed by a blank or "T" and a time (dropped);
// an invalid QDate for anything else.
QDate ParseIsoDate(QStringView text);
QDate ParseIsoDate(QByteArrayView text);

// Texts read from the file for rows that stay in memory, decoded into shared blocks:
// each text is a QString of its own that shares its block (a copy takes a
// reference, a change detaches it), so short texts cost no allocation each.
class TextArena {
public:
    // The UTF-8 text as a QString; a null QString for null data.
    QString Add(QByteArrayView utf8);

private:
    QString block_;
    QChar* free_ = nullptr;
    qsizetype room_ = 0;
};

// Statement parameters and result columns.
int BindValue(sqlite3_stmt* statement, int index, const QVariant& value);
QVariant ReadValue(sqlite3_stmt* statement, int column, ColumnType type);
