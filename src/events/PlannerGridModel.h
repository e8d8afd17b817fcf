#pragma once

#include "platform/BoundGridModel.h"

#include <QString>
#include <QVariant>

class Recordset;

// What a planner cell stores for the value typed into it (fields Step_Name,
// Step_Date, Step_Time, Step_Notes). False with the message key of the refusal:
// "mes222" an empty title, "mes223" an empty date, "mes66" a date or time that
// does not convert (a date is read as a date field reads it: nothing corrected). An emptied time stores NULL; a time is stored as "HH:mm".
bool PlannerCellValue(const QString& field, const QVariant& entered, QVariant* stored, QString* refusalKey);

// The planner's grid over rsCommand3: dates and times shown and edited as text
// (dates as date fields show them, times in the program's time format, no time as
// nothing), every value checked and converted before anything is written.
class PlannerGridModel : public BoundGridModel {
    Q_OBJECT
public:
    PlannerGridModel(Recordset& recordset, const QString& timeFormat, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // A typed value was refused before any write; the cell keeps its stored value.
    void Refused(const QString& messageKey);
    // A typed text that is no date, in place of Refused: it is for the cell's editor
    // to hold again, to be put right.
    void DateRefused(int row, int column, const QString& typed);

private:
    QString fieldName(int column) const;

    Recordset& recordset_;
    QString timeFormat_;
};
