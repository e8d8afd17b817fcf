#include "PlannerGridModel.h"

#include "core/Formats.h"
#include "core/StepTime.h"
#include "platform/DateField.h"
#include "platform/FieldValue.h"
#include "platform/Recordset.h"

#include <QDate>
#include <QLocale>

namespace {

bool refuse(const char* key, QString* refusalKey)
{
    *refusalKey = QString::fromLatin1(key);
    return false;
}

}  // namespace

bool PlannerCellValue(const QString& field, const QVariant& entered, QVariant* stored, QString* refusalKey)
{
    if (field == QLatin1String("Step_Date")) {
        if (entered.typeId() == QMetaType::QDate) {
            if (!entered.toDate().isValid())
                return refuse("mes223", refusalKey);
            *stored = entered;
            return true;
        }
        const QString text = entered.toString().trimmed();
        if (text.isEmpty())
            return refuse("mes223", refusalKey);
        const QDate date = ReadFieldDate(text, QLocale());
        if (!date.isValid())
            return refuse("mes66", refusalKey);
        *stored = date;
        return true;
    }
    if (field == QLatin1String("Step_Time")) {
        if (IsNullValue(entered) || entered.toString().trimmed().isEmpty()) {
            *stored = QVariant();
            return true;
        }
        const QTime time = ReadStepTime(entered);
        if (!time.isValid())
            return refuse("mes66", refusalKey);
        *stored = StepTimeText(time);
        return true;
    }
    const QString text = entered.toString();
    if (field == QLatin1String("Step_Name") && text.isEmpty())
        return refuse("mes222", refusalKey);
    *stored = text;
    return true;
}

PlannerGridModel::PlannerGridModel(Recordset& recordset, const QString& timeFormat, QObject* parent)
    : BoundGridModel(recordset, parent), recordset_(recordset), timeFormat_(timeFormat)
{
}

QString PlannerGridModel::fieldName(int column) const
{
    const int field = FieldOf(column);
    return field >= 0 && field < recordset_.FieldCount() ? recordset_.Fields()[field].name : QString();
}

QVariant PlannerGridModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return BoundGridModel::data(index, role);
    const QVariant value = BoundGridModel::data(index, Qt::EditRole);
    const QString field = fieldName(index.column());
    if (field == QLatin1String("Step_Date"))
        return DateFieldText(value.toDate(), QLocale());
    if (field == QLatin1String("Step_Time")) {
        const QTime time = ReadStepTime(value);
        return time.isValid() ? TimeText(time, timeFormat_) : QString();
    }
    return role == Qt::DisplayRole ? BoundGridModel::data(index, role) : value;
}

bool PlannerGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    QVariant stored;
    QString refusal;
    const QString field = fieldName(index.column());
    if (!PlannerCellValue(field, value, &stored, &refusal)) {
        if (field == QLatin1String("Step_Date") && refusal == QLatin1String("mes66"))
            emit DateRefused(index.row(), index.column(), value.toString());
        else
            emit Refused(refusal);
        return false;
    }
    return BoundGridModel::setData(index, stored, role);
}
