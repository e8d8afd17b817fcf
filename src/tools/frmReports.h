#pragma once

#include "ReportHtml.h"
#include "platform/Form.h"

#include <QList>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

// The report wizard: page 1 chooses events, tasks or contacts, page 2 the columns;
// Next on page 2 writes "tsreport.html" and opens it in the browser.
class frmReports : public Form {
    Q_OBJECT
public:
    frmReports();

    void Form_Load() override;

    // Shows the wizard modally, centred on the main window.
    static void ShowFor(Form* mainWindow);

    void cmdNext_Click();
    void cmdBack_Click();
    void cmdExit_Click();

    ReportKind ChosenKind() const;
    bool OnSecondPage() const;

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
};
