#pragma once

#include "platform/FieldValue.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QStringList>
#include <QTime>

#include <vector>

// One event row as the dispatcher hands it out: typed values beside the shown texts.
struct DispatcherRow {
    QString category;  // as shown: own text of a built-in category, else the stored name
    QString title;
    QString comment;
    QDate date;        // may be null in a damaged row: such a row is never due
    qint64 id = 0;
    QTime time;        // null when the event has no time (due at 00:00)
    bool oneOff = false;
};

// The rows of a refill, read by the refresh and handed to the list: their titles and
// comments are kept in blocks of the rows' own, so that a row costs no allocation.
class DispatcherRows {
public:
    void Reserve(qsizetype count) { rows_.reserve(size_t(count)); }
    // The row's category and typed values, with its title and comment as stored
    // (the row's own title and comment are not looked at).
    void Append(const DispatcherRow& row, QByteArrayView title, QByteArrayView comment);
    qsizetype Size() const { return qsizetype(rows_.size()); }
    DispatcherRow At(qsizetype index) const;

private:
    struct Kept {
        QString category;
        KeptText title;
        KeptText comment;
        QDate date;
        qint64 id;
        QTime time;
        bool oneOff;
    };
    std::vector<Kept> rows_;
    TextBlocks texts_;
};

// The dispatcher's list of every event row (the never-filtered events table, in
// table order), numbered from 1.
class DispatcherList : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetRows(DispatcherRows rows);
    void Clear();
    int Count() const { return static_cast<int>(rows_.Size()); }
    // Item number from 1.
    DispatcherRow Item(int number) const { return rows_.At(number - 1); }
    void SetHeaders(const QStringList& headers);
    void SetTimeFormat(const QString& timeFormat) { timeFormat_ = timeFormat; }

    QString DateText(int number) const;
    QString TimeText(int number) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    DispatcherRows rows_;
    QStringList headers_;
    QString timeFormat_ = QStringLiteral("H:mm");
};
