#pragma once

#include "platform/BoundGridModel.h"

#include <QString>
#include <QVariant>

class Recordset;

// What a phone-book cell stores for the value typed into it, by the column's
// ordinal. False with the message key of the refusal: "mes229" an emptied given
// name, "mes66" a date that does not convert. An emptied date stores NULL.
bool ContactCellValue(int ordinal, const QVariant& entered, QVariant* stored, QString* refusalKey);

// The phone-book grid over rstbl_Phones in the grid's column order: dates shown and
// edited as text in the short form, every typed value checked before it is written.
class ContactGridModel : public BoundGridModel {
    Q_OBJECT
public:
    explicit ContactGridModel(Recordset& recordset, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // A typed value was refused before any write; the cell keeps its stored value.
    void Refused(const QString& messageKey);
};
