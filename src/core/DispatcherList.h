#pragma once

#include <QAbstractTableModel>
#include <QDate>
#include <QList>
#include <QStringList>
#include <QTime>

// One event row as the dispatcher keeps it: typed values beside the shown texts.
struct DispatcherRow {
    QString category;  // as shown: own text of a built-in category, else the stored name
    QString title;
    QString comment;
    QDate date;        // may be null in a damaged row: such a row is never due
    qint64 id = 0;
    QTime time;        // null when the event has no time (due at 00:00)
    bool oneOff = false;
};

// The dispatcher's list of every event row (the never-filtered events table, in
// table order), numbered from 1.
class DispatcherList : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetRows(QList<DispatcherRow> rows);
    void Clear();
    int Count() const { return static_cast<int>(rows_.size()); }
    // Item number from 1.
    const DispatcherRow& Item(int number) const { return rows_.at(number - 1); }
    void SetHeaders(const QStringList& headers);
    void SetTimeFormat(const QString& timeFormat) { timeFormat_ = timeFormat; }

    QString DateText(int number) const;
    QString TimeText(int number) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<DispatcherRow> rows_;
    QStringList headers_;
    QString timeFormat_ = QStringLiteral("H:mm");
};
