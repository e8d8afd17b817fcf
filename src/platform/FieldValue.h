#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

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

// A text kept in memory beside many others: a view of its UTF-16 in the blocks of
// the TextBlocks that made it, valid as long as they live. A value of a row held in
// memory is a QString or a KeptText; the KeptText never leaves its rows: a value
// handed out is a QString of its own (Readable).
struct KeptText {
    const char16_t* data = nullptr;
    qsizetype size = 0;

    QStringView View() const { return QStringView(data, size); }
    QString ToString() const { return data ? QString(reinterpret_cast<const QChar*>(data), size) : QString(); }
};

// Texts read from the file for rows that stay in memory, side by side in blocks
// that never move, so that short texts cost no allocation each.
class TextBlocks {
public:
    // The UTF-8 text kept; null data for null data.
    KeptText Add(QByteArrayView utf8);

private:
    std::vector<std::unique_ptr<char16_t[]>> blocks_;
    char16_t* free_ = nullptr;
    qsizetype room_ = 0;
};

// The text of a value that holds one (a QString or a KeptText); false for any other.
inline bool TextOf(const QVariant& value, QStringView* text)
{
    const QMetaType type = value.metaType();
    if (type == QMetaType::fromType<KeptText>())
        *text = static_cast<const KeptText*>(value.constData())->View();
    else if (type.id() == QMetaType::QString)
        *text = *static_cast<const QString*>(value.constData());
    else
        return false;
    return true;
}

// The value as it is handed out of the rows: a KeptText becomes a QString.
inline QVariant Readable(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<KeptText>())
        return static_cast<const KeptText*>(value.constData())->ToString();
    return value;
}

// Statement parameters and result columns.
int BindValue(sqlite3_stmt* statement, int index, const QVariant& value);
QVariant ReadValue(sqlite3_stmt* statement, int column, ColumnType type);
