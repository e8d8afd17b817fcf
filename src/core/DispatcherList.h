#pragma once

#include <QAbstractTableModel>
#include <QDate>
#include <QHash>
#include <QStringList>
#include <QTime>

#include <limits>
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

// Rows of the events table as a reader hands them over, in ascending id order, their
// categories under the stored names. A reader on any thread may build them: they
// share nothing. A row costs 32 bytes and its texts as stored (UTF-8), with no
// allocation of its own. The rows stand in blocks of a few thousand, each knowing its
// earliest row, so that a row comes or goes, and the earliest of all is found, in
// time that does not grow with the table.
class DispatcherRows {
public:
    void Append(QByteArrayView storedCategory, QByteArrayView title, QByteArrayView comment, const QDate& date,
                const QTime& time, qint64 id, bool oneOff);
    qsizetype Size() const { return size_; }
    // Gives back the room that growing left over.
    void Squeeze();

private:
    friend class DispatcherList;
    struct Kept {
        qint64 id;
        quint32 text;         // the title, then the comment, in texts_
        quint32 titleSize;
        quint32 commentSize;
        qint32 day;           // Julian day, NoDay for none
        qint32 time;          // milliseconds of the day, -1 for none
        quint32 category : 31;
        quint32 oneOff : 1;
    };
    static constexpr qint32 NoDay = std::numeric_limits<qint32>::min();
    struct Block {
        std::vector<Kept> rows;
        qsizetype earliest = -1;  // the block's earliest dated row; -1 for none
    };
    // Where a row stands, or would stand: its block, its place there and its
    // position in the whole list.
    struct Place {
        size_t block = 0;
        size_t offset = 0;
        qsizetype position = 0;
    };

    quint32 categoryNumber(QByteArrayView storedName);
    quint32 keepTexts(QByteArrayView title, QByteArrayView comment, quint32* titleSize, quint32* commentSize);
    Place placeOf(qint64 id) const;
    const Kept& at(qsizetype position) const;
    void insert(const Place& place, const Kept& row);
    void erase(const Place& place);
    void replace(const Place& place, const Kept& row);
    qsizetype earliest() const;
    static bool before(const Kept& a, const Kept& b);
    static void findEarliest(Block& block);
    template <class Visit>
    void forEach(Visit visit);

    std::vector<Block> blocks_;
    qsizetype size_ = 0;
    std::vector<char> texts_;
    QList<QByteArray> categories_;        // stored names (UTF-8) by number
    QHash<QByteArray, quint32> numbers_;  // numbers by stored name
};

// The dispatcher's list of every event row (the never-filtered events table, in
// table order), numbered from 1, with the row of the earliest reminder moment kept
// as rows come and go: earlier by date, then by minute, the first of equals winning;
// a row without a date is never the earliest.
class DispatcherList : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetRows(DispatcherRows rows);
    // Brings the list to the table for the rows with these ids (ascending): each is
    // taken from read when it is there, and removed when it is not.
    void Update(const QList<qint64>& ids, const DispatcherRows& read);
    void Clear() { SetRows({}); }
    int Count() const { return static_cast<int>(rows_.Size()); }
    // Item number from 1.
    DispatcherRow Item(int number) const;
    // The item number of the earliest row; 0 when no row has a date.
    int Earliest() const;
    // The shown name of every stored category name: the built-in ones under their own
    // texts, any other as stored.
    void ShowCategories(const QString (&stored)[3], const QString (&shown)[3]);
    void SetHeaders(const QStringList& headers);
    void SetTimeFormat(const QString& timeFormat) { timeFormat_ = timeFormat; }

    QString DateText(int number) const;
    QString TimeText(int number) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    using Kept = DispatcherRows::Kept;
    Kept adopted(const DispatcherRows& from, const Kept& row);
    QString shownName(const QByteArray& stored) const;
    void compactTexts();

    DispatcherRows rows_;
    QList<QString> shown_;  // by category number
    QString shownFor_[6];   // the stored and shown built-in names shown_ was made for
    qsizetype garbage_ = 0;  // bytes of texts_ no row holds any more
    QStringList headers_;
    QString timeFormat_ = QStringLiteral("H:mm");
};
