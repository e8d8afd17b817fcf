// The task list's commands: adding a task, marking it done or not done, deleting it.
#include "frmBus.h"

#include "core/DBConfig.h"
#include "core/Fatal.h"
#include "core/Options.h"
#include "core/SourceText.h"
#include "core/TypedDate.h"
#include "platform/DateField.h"
#include "platform/MsgBox.h"
#include "platform/Recordset.h"

#include <QLineEdit>

namespace {

void warn(const char* key) { MsgBox(GetLangText(s(key)), 48, ProductName()); }

// The task the commands act on: the current row, which the grid shows selected.
bool hasCurrentTask(const Recordset& rs) { return rs.State() != 0 && rs.AbsolutePosition() >= 0; }

}  // namespace

void frmBus::AddTask()
{
    if (Text1->text().isEmpty()) {
        warn("mes64");
        Text1->setFocus();
        return;
    }
    if (!TakeTypedDate(DTPicker1))
        return;
    Recordset& rs = TaskRecords();
    OpenIfClosed(rs);
    DbResult result = rs.AddNew();
    if (result.Ok())
        result = rs.SetField(s("bsn_Date"), DTPicker1->date());
    if (result.Ok())
        result = rs.SetField(s("bsn_Text"), Text1->text());
    if (result.Ok())
        result = rs.SetField(s("bsn_Status"), false);
    if (result.Ok())
        result = rs.Update();
    if (!result.Ok()) {
        rs.CancelUpdate();
        std::ignore = CloseIfOpen(rs);  // its edit was cancelled above
        MsgBox(GetLangText(s("mes65")) + s(": ") + result.Description(), 48, ProductName());
        // The list comes back with what is stored, so the window stays usable.
        OpenIfClosed(rs);
        Text1->setFocus();
        return;
    }
    Text1->clear();
    Text1->setFocus();
}

void frmBus::SetTaskStatus(bool done)
{
    Recordset& rs = TaskRecords();
    if (rs.State() == 0 || rs.RecordCount() == 0) {
        warn("mes68");
        return;
    }
    if (!hasCurrentTask(rs))
        return;
    // Stored at once: an end of the program right after keeps the change. The row
    // stays where it is shown, also under a sort by status.
    DbResult result = rs.SetField(s("bsn_Status"), done);
    if (result.Ok())
        result = rs.Update();
    if (!result.Ok()) {
        rs.CancelUpdate();
        LogDbFailure(s("task list"), result);
        warn("mes66");
    }
    showCurrentRow();
}

void frmBus::DeleteTask()
{
    Recordset& rs = TaskRecords();
    if (rs.State() == 0 || rs.RecordCount() == 0) {
        warn("mes69");
        return;
    }
    deleteCurrentTask();
}

void frmBus::DataGrid1_KeyDelete()
{
    Recordset& rs = TaskRecords();
    if (!hasCurrentTask(rs))
        return;
    if (MsgBox(GetLangText(s("mes67")), 4 + 32, ProductName()) == vbYes)
        deleteCurrentTask();
}

void frmBus::deleteCurrentTask()
{
    Recordset& rs = TaskRecords();
    if (!hasCurrentTask(rs))
        return;
    const DbResult deleted = rs.Delete();
    if (!deleted.Ok()) {
        LogDbFailure(s("task list"), deleted);
        warn("mes66");
        showCurrentRow();
        return;
    }
    // The row that took the deleted one's place, or the one before it at the end; an
    // empty view has none to stand on.
    if (!rs.MoveNext().Ok() || rs.Eof())
        std::ignore = rs.MoveLast();
    showCurrentRow();
}
