#include "FieldValue.h"

#include <QDate>
#include <QDateTime>
#include <QStringDecoder>
#include <QTime>

#include <sqlite3.h>

namespace {

char16_t unit(QStringView text, qsizetype i) { return text[i].unicode(); }
char16_t unit(QByteArrayView text, qsizetype i) { return static_cast<unsigned char>(text[i]); }

template <class Text>
int digits(Text text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = unit(text, i);
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

template <class Text>
QDate parseIsoDate(Text text)
{
    if (text.size() < 10 || unit(text, 4) != '-' || unit(text, 7) != '-')
        return {};
    if (text.size() > 10 && unit(text, 10) != ' ' && unit(text, 10) != 'T')
        return {};
    const int year = digits(text, 0, 4);
    const int month = digits(text, 5, 2);
    const int day = digits(text, 8, 2);
    if (year < 0 || month < 0 || day < 0)
        return {};
    return QDate(year, month, day);
}

// Code units in one block of kept texts; a text of more than a quarter of it gets
// a block of its own.
constexpr qsizetype TextBlock = 16 * 1024;

// Most texts are ASCII: widened byte by byte, far cheaper than the general decoder.
// nullptr when the text holds any other byte.

char16_t* widenAscii(char16_t* out, QByteArrayView text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return nullptr;
        *out++ = char16_t(c);
    }
    return out;
}

bool toBoolean(const QVariant& value, bool* result)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        *result = value.toBool();
        return true;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        *result = value.toDouble() != 0;
        return true;
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || text == QLatin1String("1")
            || text == QLatin1String("-1")) {
            *result = true;
            return true;
        }
        if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || text == QLatin1String("0")) {
            *result = false;
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

bool toInteger(const QVariant& value, qint64* result)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        *result = value.toLongLong();
        return true;
    case QMetaType::Double: {
        const double number = value.toDouble();
        *result = static_cast<qint64>(number);
        return static_cast<double>(*result) == number;
    }
    case QMetaType::Bool:
        *result = value.toBool() ? 1 : 0;
        return true;
    case QMetaType::QString: {
        bool ok = false;
        *result = value.toString().trimmed().toLongLong(&ok);
        return ok;
    }
    default:
        return false;
    }
}

}  // namespace

ColumnType ColumnTypeOf(const QString& declaredType)
{
    const QString type = declaredType.trimmed().toUpper();
    if (type.startsWith(QLatin1String("INT")))
        return ColumnType::Integer;
    if (type == QLatin1String("DATE"))
        return ColumnType::Date;
    if (type == QLatin1String("BOOLEAN"))
        return ColumnType::Boolean;
    return ColumnType::Text;
}

int FieldIndexOf(const QList<FieldInfo>& fields, const QString& name)
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QDate ParseIsoDate(QStringView text) { return parseIsoDate(text); }

QDate ParseIsoDate(QByteArrayView text) { return parseIsoDate(text); }

KeptText TextBlocks::Add(QByteArrayView utf8)
{
    if (utf8.isNull())
        return {};
    if (utf8.isEmpty())
        return {u"", 0};
    // UTF-16 never takes more code units than UTF-8 takes bytes.
    const qsizetype need = utf8.size();
    char16_t* start;
    if (need > TextBlock / 4) {
        start = blocks_.emplace_back(std::make_unique_for_overwrite<char16_t[]>(need)).get();
    } else {
        if (need > room_) {
            free_ = blocks_.emplace_back(std::make_unique_for_overwrite<char16_t[]>(TextBlock)).get();
            room_ = TextBlock;
        }
        start = free_;
    }
    char16_t* end = widenAscii(start, utf8);
    if (!end) {
        QChar* const out = reinterpret_cast<QChar*>(start);
        end = start + (QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless).appendToBuffer(out, utf8)
                       - out);
    }
    if (start == free_) {
        free_ = end;
        room_ -= end - start;
    }
    return {start, end - start};
}

bool ToColumnValue(ColumnType type, const QVariant& value, QVariant* result)
{
    if (IsNullValue(value)) {
        *result = QVariant();
        return true;
    }
    switch (type) {
    case ColumnType::Text:
        *result = ValueText(value);
        return true;
    case ColumnType::Date: {
        QDate date;
        if (value.typeId() == QMetaType::QDate)
            date = value.toDate();
        else if (value.typeId() == QMetaType::QDateTime)
            date = value.toDateTime().date();
        else if (value.typeId() == QMetaType::QString)
            date = ParseIsoDate(value.toString().trimmed());
        if (!date.isValid())
            return false;
        *result = date;
        return true;
    }
    case ColumnType::Boolean: {
        bool flag = false;
        if (!toBoolean(value, &flag))
            return false;
        *result = flag;
        return true;
    }
    case ColumnType::Integer: {
        qint64 number = 0;
        if (!toInteger(value, &number))
            return false;
        *result = number;
        return true;
    }
    }
    return false;
}

QString ValueText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return Readable(value).toString();
    }
}

int BindValue(sqlite3_stmt* statement, int index, const QVariant& value)
{
    if (IsNullValue(value))
        return sqlite3_bind_null(statement, index);
    switch (value.typeId()) {
    case QMetaType::Bool:
        return sqlite3_bind_int(statement, index, value.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return sqlite3_bind_int64(statement, index, value.toLongLong());
    case QMetaType::Double:
        return sqlite3_bind_double(statement, index, value.toDouble());
    default: {
        const QString text = ValueText(value);
        return sqlite3_bind_text16(statement, index, text.utf16(), static_cast<int>(text.size() * 2),
                                   SQLITE_TRANSIENT);
    }
    }
}

QVariant ReadValue(sqlite3_stmt* statement, int column, ColumnType type)
{
    if (sqlite3_column_type(statement, column) == SQLITE_NULL)
        return {};
    switch (type) {
    case ColumnType::Integer:
        return QVariant(static_cast<qint64>(sqlite3_column_int64(statement, column)));
    case ColumnType::Boolean: {
        // A text that is no flag (a foreign file's) reads as no value, not as false.
        const int stored = sqlite3_column_type(statement, column);
        if (stored == SQLITE_INTEGER)
            return QVariant(sqlite3_column_int64(statement, column) != 0);
        if (stored == SQLITE_FLOAT)
            return QVariant(sqlite3_column_double(statement, column) != 0);
        bool flag = false;
        if (stored == SQLITE_TEXT && toBoolean(ReadValue(statement, column, ColumnType::Text), &flag))
            return QVariant(flag);
        return {};
    }
    case ColumnType::Date: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        const QDate date = ParseIsoDate(QByteArrayView(text, sqlite3_column_bytes(statement, column)));
        return date.isValid() ? QVariant(date) : QVariant();
    }
    case ColumnType::Text: {
        // The file keeps UTF-8; Qt's decoder is cheaper than SQLite's conversion to UTF-16.
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(statement, column)));
    }
    }
    return {};
}
