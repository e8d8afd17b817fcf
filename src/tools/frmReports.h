#pragma once

#include "ReportHtml.h"
#include "platform/Form.h"

#include <QList>
#include <QTimer>

#include <memory>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

// The report wizard: page 1 chooses events, tasks or contacts, page 2 the columns;
// Next on page 2 writes "tsreport.html" and opens it in the browser. A large page is
// built in steps between the window's events and written on a worker thread; Next
// and Back wait meanwhile, Exit drops it.
class frmReports : public Form {
    Q_OBJECT
public:
    frmReports();
    ~frmReports() override;

    void Form_Load() override;
    // A page not yet written is dropped.
    void Form_Unload() override;

    // Shows the wizard modally, centred on the main window.
    static void ShowFor(Form* mainWindow);

    void cmdNext_Click();
    void cmdBack_Click();
    void cmdExit_Click();

    ReportKind ChosenKind() const;
    bool OnSecondPage() const;
    // A page is being built or written.
    bool Building() const { return page_ != nullptr || written_ != nullptr; }

    // Controls.
    QWidget* Picture1 = nullptr;  // page 1
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QList<QRadioButton*> Option1;  // events, tasks, contacts
    QWidget* Picture2 = nullptr;   // page 2
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QListWidget* List1 = nullptr;
    QPushButton* cmdBack = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdExit = nullptr;

private:
    void fillColumns();
    void buildReport();
    void buildStep();
    void writeReport(QByteArray html);
    void reportWritten(bool written);
    void setBuilding(bool on);

    std::unique_ptr<Recordset> rows_;  // the report's own copy of the table
    std::unique_ptr<ReportPage> page_;
    QTimer buildStep_;
    std::shared_ptr<bool> written_;  // the answer of the page's writing under way
};
