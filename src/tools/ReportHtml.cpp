#include "ReportHtml.h"

#include "core/DataEnvironment.h"
#include "core/Formats.h"
#include "core/MeasureNames.h"
#include "core/Options.h"
#include "core/StepTime.h"
#include "platform/KnownFolders.h"
#include "platform/Recordset.h"

#include <QDate>
#include <QElapsedTimer>

#include <algorithm>

namespace {

QList<ReportColumn> contactColumns()
{
    static const char* const captions[] = {"mes92",  "mes93",  "mes94",  "mes96",  "mes95",  "mes97",
                                           "mes120", "mes121", "mes122", "mes123", "mes124", "mes125",
                                           "mes106", "mes107", "mes108", "mes109", "mes110", "mes105",
                                           "mes112", "mes113", "mes114", "mes115", "mes116", "mes117",
                                           "mes118", "mes98",  "mes99",  "mes100", "mes101", "mes128"};
    QList<ReportColumn> columns;
    for (int position = 0; position < 30; ++position) {
        // Groupe_Name, Personal_Photo and Home_Mobile_Reserve are passed over.
        const int field = position + (position < 5 ? 1 : position < 12 ? 2 : 3);
        columns.append({field, captions[position], position < 5, CellFormat::Plain});
    }
    return columns;
}

// Tahoma is rarely installed on Linux: without the fallbacks a browser draws serifs.
const QByteArray ReportFonts = QByteArrayLiteral("Tahoma, \"DejaVu Sans\", sans-serif");

const char* const HeaderCell = "<td style='padding:0 10px;font-weight:bold;border:1px solid #777777;"
                               "background:#777777;color:#FFFFFF;width:200px;height:22px;'>";
const char* const WhiteCell =
    "<td style='padding:0 10px;border: 1px solid #777777;background:#FFFFFF;width:200px;height:20px;'>";
const char* const GreyCell =
    "<td style='padding:0 10px;border: 1px solid #777777;background:#F0F0F0;width:200px;height:20px;'>";

}  // namespace

const QList<ReportColumn>& ReportColumns(ReportKind kind)
{
    static const QList<ReportColumn> events = {{0, "mes219", true, CellFormat::Category},
                                               {1, "mes220", true, CellFormat::Plain},
                                               {2, "mes179", true, CellFormat::Plain},
                                               {3, "mes180", false, CellFormat::StepTime},
                                               {4, "mes181", false, CellFormat::Plain}};
    static const QList<ReportColumn> tasks = {{0, "mes61", true, CellFormat::Plain},
                                              {1, "mes62", true, CellFormat::Plain},
                                              {2, "mes63", true, CellFormat::TaskStatus}};
    static const QList<ReportColumn> contacts = contactColumns();
    switch (kind) {
    case ReportKind::Events:
        return events;
    case ReportKind::Tasks:
        return tasks;
    case ReportKind::Contacts:
        break;
    }
    return contacts;
}

Recordset& ReportRecordset(ReportKind kind)
{
    DataEnvironment& data = DataEnvironment1();
    switch (kind) {
    case ReportKind::Events:
        return data.rsCommand3;
    case ReportKind::Tasks:
        return data.rstbl_Business;
    case ReportKind::Contacts:
        break;
    }
    return data.rstbl_Phones;
}

QString ReportTable(ReportKind kind)
{
    switch (kind) {
    case ReportKind::Events:
        return QStringLiteral("lst_Dates");
    case ReportKind::Tasks:
        return QStringLiteral("tbl_Business");
    case ReportKind::Contacts:
        break;
    }
    return QStringLiteral("tbl_Phones");
}

void AppendEscaped(QByteArray& html, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char* entity = nullptr;
        switch (utf8[i]) {
        case '&':
            entity = "&amp;";
            break;
        case '<':
            entity = "&lt;";
            break;
        case '>':
            entity = "&gt;";
            break;
        case '"':
            entity = "&quot;";
            break;
        case '\'':
            entity = "&#39;";
            break;
        default:
            continue;
        }
        html.append(utf8.constData() + plainFrom, i - plainFrom);
        html.append(entity);
        plainFrom = i + 1;
    }
    html.append(utf8.constData() + plainFrom, utf8.size() - plainFrom);
}

ReportPage::ReportPage(ReportKind kind, const QList<bool>& ticks)
    : kind_(kind)
    , ticks_(ticks)
{
    if (kind == ReportKind::Tasks) {
        done_ = GetOwnText(QStringLiteral("txtdone"));
        waiting_ = GetOwnText(QStringLiteral("txtwait"));
    }
}

QString ReportPage::FormatValue(const QVariant& value, CellFormat format)
{
    if (IsNullValue(value))
        return QString();
    QString text;
    switch (value.typeId()) {
    case QMetaType::QDate:
        text = DateText(value.toDate());
        break;
    case QMetaType::Bool:
        if (format == CellFormat::TaskStatus)
            return value.toBool() ? done_ : waiting_;
        text = value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        break;
    default:
        text = value.toString();
    }
    if (text.isEmpty())
        return QString();
    if (format == CellFormat::Category) {
        auto found = shownCategories_.constFind(text);
        if (found == shownCategories_.constEnd())
            found = shownCategories_.insert(text, ShownMeasureName(text));
        return *found;
    }
    if (format == CellFormat::StepTime) {
        const QTime time = ReadStepTime(text);
        if (time.isValid())
            text = LongTimeText(time);
    }
    return text;
}

void ReportPage::AddCell(int column, const QString& text, bool header)
{
    if (!ticks_.value(column))
        return;
    ReportHtml += header ? HeaderCell : whiteRow_ ? WhiteCell : GreyCell;
    if (text.isEmpty())
        ReportHtml += "&nbsp;";
    else
        AppendEscaped(ReportHtml, text);
    ReportHtml += "</td>";
}

void ReportPage::Begin(const Recordset& rows)
{
    const QList<ReportColumn>& columns = ReportColumns(kind_);
    QByteArray title;
    AppendEscaped(title, GetLangText(QStringLiteral("mes290")));
    const char* headingKey = kind_ == ReportKind::Events ? "mnu0" : kind_ == ReportKind::Tasks ? "mnu1" : "opt2";
    ReportHtml.clear();
    nextRow_ = 0;
    whiteRow_ = true;
    const auto ticked = static_cast<qsizetype>(ticks_.count(true));
    // Room for the rows read so far and as many again; a longer page grows as it goes.
    ReportHtml.reserve(static_cast<qsizetype>(2 * rows.FetchedCount() + 1) * (ticked * 128 + 9) + 1024);

    ReportHtml += "<html><head><meta charset=\"utf-8\"><title>" + title + "</title></head><body>";
    ReportHtml += "<center><div style='font: bold 12px " + ReportFonts + ";text-align:center;'>" + title + ": ";
    AppendEscaped(ReportHtml, GetLangText(QString::fromLatin1(headingKey)));
    ReportHtml += "</div></center><br />";
    ReportHtml += "<center><table style='border-collapse:collapse;font: 11px " + ReportFonts
                  + ";border: 1px solid #777777;'>";
    ReportHtml += "<tr>";
    for (int column = 0; column < columns.size(); ++column)
        AddCell(column, GetLangText(QString::fromLatin1(columns[column].caption)), true);
    ReportHtml += "</tr>";
}

DbResult ReportPage::AddRows(Recordset& rows, int milliseconds, bool* done)
{
    const QList<ReportColumn>& columns = ReportColumns(kind_);
    QElapsedTimer clock;
    clock.start();
    *done = false;
    if (rows.State() == 0)
        return DbResult::Failure(DbStatus::Error, QStringLiteral("the report's rows were closed"));
    while (clock.elapsed() < milliseconds) {
        if (nextRow_ == rows.FetchedCount()) {
            if (!rows.Fetching()) {
                *done = true;
                return {};
            }
            if (const DbResult read = rows.FetchMore(milliseconds - int(clock.elapsed())); !read.Ok())
                return read;
        }
        // The clock is read once in a while: a row takes microseconds.
        for (const int end = std::min(nextRow_ + 64, rows.FetchedCount()); nextRow_ < end; ++nextRow_) {
            ReportHtml += "<tr>";
            for (int column = 0; column < columns.size(); ++column) {
                if (ticks_.value(column))
                    AddCell(column, FormatValue(rows.ValueAt(nextRow_, columns[column].field), columns[column].format),
                            false);
            }
            ReportHtml += "</tr>";
            whiteRow_ = !whiteRow_;
        }
    }
    return {};
}

void ReportPage::End() { ReportHtml += "</table></center></body></html>\r\n"; }

QString ReportFilePath() { return KnownFolders::UserDataFolder() + QStringLiteral("/tsreport.html"); }
