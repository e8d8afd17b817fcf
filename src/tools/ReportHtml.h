#pragma once

#include "platform/Connection.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

class Recordset;

// The report wizard's page: one HTML table of the rows of one table, with the
// columns the user ticked, written as one UTF-8 line.

enum class ReportKind { Events, Tasks, Contacts };

// How a column's stored value is shown.
enum class CellFormat { Plain, Category, StepTime, TaskStatus };

struct ReportColumn {
    int field;            // position of the field in the record
    const char* caption;  // language key
    bool tickedAtStart;
    CellFormat format;
};

const QList<ReportColumn>& ReportColumns(ReportKind kind);
// The shared recordset whose table (and sort order) the kind's report follows.
Recordset& ReportRecordset(ReportKind kind);
QString ReportTable(ReportKind kind);

// Appends text as UTF-8 with "&", "<", ">", '"' and "'" as entities.
void AppendEscaped(QByteArray& html, const QString& text);

class ReportPage {
public:
    ReportPage(ReportKind kind, const QList<bool>& ticks);

    // The text a data cell shows: dates in the short date form, an event's time in
    // the long time form, a built-in category under its own text and a task's state
    // as "txtdone" or "txtwait". A null text for NULL or "": the cell shows "&nbsp;".
    QString FormatValue(const QVariant& value, CellFormat format);
    // Appends a header or data cell (in the current row colour) when the column is
    // ticked, its text escaped for HTML.
    void AddCell(int column, const QString& text, bool header);
    // The page in steps over every visible row of rows, in their order: its head, the
    // rows from the next one on for about the given time (done once every row is on
    // the page, read as they come), and its end.
    void Begin(const Recordset& rows);
    [[nodiscard]] DbResult AddRows(Recordset& rows, int milliseconds, bool* done);
    void End();

    QByteArray ReportHtml;

private:
    ReportKind kind_;
    QList<bool> ticks_;
    int nextRow_ = 0;
    bool whiteRow_ = true;
    QString done_;
    QString waiting_;
    QHash<QString, QString> shownCategories_;
};

// "tsreport.html" in the per-user data folder.
QString ReportFilePath();
