#include "ContactGridModel.h"

#include "ContactRecord.h"
#include "core/Formats.h"

#include <QDate>

bool ContactCellValue(int ordinal, const QVariant& entered, QVariant* stored, QString* refusalKey)
{
    const QString text = entered.toString();
    if (Contact::IsDate(ordinal)) {
        if (entered.typeId() == QMetaType::QDate) {
            *stored = entered;
            return true;
        }
        if (text.trimmed().isEmpty()) {
            *stored = QVariant();
            return true;
        }
        const QDate date = DateFromText(text.trimmed());
        if (!date.isValid()) {
            *refusalKey = QStringLiteral("mes66");
            return false;
        }
        *stored = date;
        return true;
    }
    if (ordinal == Contact::First_Name && text.isEmpty()) {
        *refusalKey = QStringLiteral("mes229");
        return false;
    }
    *stored = text;
    return true;
}

ContactGridModel::ContactGridModel(Recordset& recordset, QObject* parent)
    : BoundGridModel(recordset, parent)
{
    QList<int> fields;
    for (int column = 0; column < Contact::FieldCount; ++column)
        fields.append(GridColumnField(column));
    SetColumns(fields);
}

QVariant ContactGridModel::data(const QModelIndex& index, int role) const
{
    if ((role == Qt::DisplayRole || role == Qt::EditRole) && Contact::IsDate(FieldOf(index.column())))
        return DateText(BoundGridModel::data(index, Qt::EditRole).toDate());
    return BoundGridModel::data(index, role);
}

bool ContactGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    QVariant stored;
    QString refusal;
    if (!ContactCellValue(FieldOf(index.column()), value, &stored, &refusal)) {
        emit Refused(refusal);
        return false;
    }
    return BoundGridModel::setData(index, stored, role);
}
