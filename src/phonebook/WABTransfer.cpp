#include "frmWAB.h"

#include "core/SourceText.h"
#include "frmPhones.h"
#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/Fatal.h"
#include "core/Options.h"
#include "core/frmProcess.h"
#include "platform/MsgBox.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeView>
#include <QTreeWidget>

#include <algorithm>

namespace {

constexpr qint64 ProgressInterval = 40;  // milliseconds

// The phone-book columns that take the contact table's columns 3 to 22, in order.
const char* const StoredColumns[] = {"Third_Name",   "Home_Mobile",  "Home_Phone", "Home_Country", "Home_Region",
                                     "Home_City",    "Home_Index",   "Home_Fax",   "Home_Adress",  "Inet_Email",
                                     "Inet_Email_2", "Home_Web",     "Work_Place", "Work_Post",    "Work_Region",
                                     "Work_City",    "Work_Adress",  "Work_Phone", "Work_Fax",     "Personal_MEMO"};

DbResult storeContact(Recordset& phones, const ContactTable& table, int row, const QString& group,
                      const QString& noName)
{
    DbResult result = phones.AddNew();
    const QString givenName = table.Text(row, 1).trimmed();
    const std::pair<const char*, QString> first[] = {{"Groupe_Name", group},
                                                     {"Second_Name", table.Text(row, 2)},
                                                     {"First_Name", givenName.isEmpty() ? noName : givenName}};
    for (const auto& [column, value] : first) {
        if (result.Ok())
            result = phones.SetField(s(column), value);
    }
    for (int i = 0; i < int(std::size(StoredColumns)) && result.Ok(); ++i)
        result = phones.SetField(s(StoredColumns[i]), table.Text(row, 3 + i));
    if (result.Ok())
        result = phones.Update();
    if (!result.Ok())
        phones.CancelUpdate();
    return result;
}

}  // namespace

void frmWAB::cmdTransfer_Click()
{
    if (transferring_)
        return;
    const QList<int> selected = selectedRows();
    if (selected.isEmpty()) {
        MsgBox(GetLangText(s("mes269")), 48, ProductName());
        return;
    }

    QPointer<frmWAB> self(this);
    setTransferring(true);
    lblProgress->setText(GetLangText(s("mes270")) + s(": 0/") + QString::number(selected.size()));
    fraProgress->show();
    const bool stored = transfer(selected);
    if (!self)
        return;
    fraProgress->hide();
    setTransferring(false);
    if (!stored) {
        MsgBox(GetLangText(s("mes372")), 48, ProductName());
        return;
    }
    // The summary says so when a card of the book was cut to the reader's limits.
    const AddressBook* book = ModuleAddressBook();
    const bool cut = book && book->CutCards();
    MsgBox(GetLangText(s("mes272")) + (cut ? s("\n\n") + GetLangText(s("mes397")) : QString()), 64, ProductName());
    ShowTransferredContacts();
}

// The selected rows of the visible list, in list order.
QList<int> frmWAB::selectedRows() const
{
    QList<int> rows;
    for (const QItemSelectionRange& range : ListView1->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

// All rows in one transaction: a row the database refuses takes back the rows
// stored before it. The phone book's grid is told nothing row by row: it shows
// the rows once the transfer ends and its filter is set again (or the rollback
// has read the rows again).
bool frmWAB::transfer(const QList<int>& rows)
{
    Recordset& phones = DataEnvironment1().rstbl_Phones;
    if (phones.State() == 0)
        return false;
    Connection& connection = phones.ActiveConnection();
    DbResult result = connection.BeginTrans();
    const QString group = Forms::Get<frmProcess>().GeneralGroupName;
    const QString noName = GetLangText(s("mes271"));
    const QString progress = GetLangText(s("mes270")) + s(": ");
    const QString selected = s("/") + QString::number(rows.size());
    QSignalBlocker quiet(phones);
    // The label changes a few times a second, and at the end: a repaint for every
    // row would cost more than the row.
    QElapsedTimer shown;
    shown.start();
    for (qsizetype i = 0; i < rows.size() && result.Ok(); ++i) {
        result = storeContact(phones, lvContacts, rows[i], group, noName);
        if (!result.Ok())
            break;
        if (i + 1 == rows.size() || shown.elapsed() >= ProgressInterval) {
            lblProgress->setText(progress + QString::number(i + 1) + selected);
            shown.restart();
        }
        Forms::DoEvents();
    }
    quiet.unblock();
    // A failed commit takes its rows back itself.
    if (result.Ok())
        result = connection.CommitTrans();
    else if (connection.InTransaction())
        std::ignore = connection.RollbackTrans();  // the failure to report is the row's
    if (!result.Ok())
        LogDbFailure(s("address-book import"), result);
    return result.Ok();
}

// While a transfer runs the window takes no input that could change what it reads.
void frmWAB::setTransferring(bool on)
{
    transferring_ = on;
    for (QWidget* control : {static_cast<QWidget*>(cmdTransfer), static_cast<QWidget*>(cmdExit),
                             static_cast<QWidget*>(cmdSelectAll), static_cast<QWidget*>(cmdDeselectAll),
                             static_cast<QWidget*>(tvFolders), static_cast<QWidget*>(ListView1)})
        control->setEnabled(!on);
}

void ShowTransferredContacts()
{
    if (frmPhones* phones = Forms::Find<frmPhones>())
        phones->ReapplyGroupFilter();
}
