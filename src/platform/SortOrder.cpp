// Sort texts and the order of values, for Recordset::SetSort.
#include "Criteria.h"

#include "SqliteCollation.h"

#include <QDate>

std::optional<QList<SortKey>> ParseSort(const QString& text, const QList<FieldInfo>& fields, QString* error)
{
    error->clear();
    QList<SortKey> keys;
    if (text.trimmed().isEmpty())
        return keys;
    for (const QString& part : text.split(QLatin1Char(','))) {
        QString name = part.trimmed();
        SortKey key;
        for (const char* word : {" ASC", " DESC"}) {
            const QLatin1String suffix(word);
            if (name.endsWith(suffix, Qt::CaseInsensitive)) {
                key.descending = suffix == QLatin1String(" DESC");
                name = name.chopped(suffix.size()).trimmed();
                break;
            }
        }
        if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
            name = name.mid(1, name.size() - 2).trimmed();
        key.field = FieldIndexOf(fields, name);
        if (key.field < 0) {
            *error = QStringLiteral("unknown sort field \"%1\"").arg(name);
            return std::nullopt;
        }
        keys.append(key);
    }
    return keys;
}

int CompareValues(const QVariant& a, const QVariant& b)
{
    const bool nullA = IsNullValue(a);
    const bool nullB = IsNullValue(b);
    if (nullA || nullB)
        return nullA == nullB ? 0 : (nullA ? -1 : 1);
    QStringView x, y;
    if (TextOf(a, &x) && TextOf(b, &y))
        return CompareNoCase(x, y);
    if (a.typeId() != b.typeId())
        return CompareNoCase(ValueText(a), ValueText(b));
    switch (a.typeId()) {
    case QMetaType::QDate: {
        const QDate x = a.toDate(), y = b.toDate();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    case QMetaType::Bool:
        return int(a.toBool()) - int(b.toBool());
    case QMetaType::Double: {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    default: {
        const qint64 x = a.toLongLong(), y = b.toLongLong();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    }
}
