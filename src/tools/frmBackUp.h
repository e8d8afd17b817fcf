#pragma once

#include "BackupRestore.h"
#include "platform/Form.h"

#include <QList>

#include <memory>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The backup wizard: page 1 chooses between a backup and a restore and shows the
// last backup; page 2 (backup only) chooses the data. A restore closes the wizard
// and the main window, which reads everything afresh when it is shown next. The
// backup is checked and staged on a worker thread, with Next waiting meanwhile;
// leaving the wizard then drops the restore.
class frmBackUp : public Form {
    Q_OBJECT
public:
    frmBackUp();

    void Form_Load() override;
    void Form_Unload() override;

    static void ShowFor(Form* mainWindow);

    void cmdNext_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    bool OnSecondPage() const;
    bool Restoring() const { return pending_ != nullptr; }

    // Controls.
    QWidget* Picture1 = nullptr;  // page 1
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;  // the last backup
    QGroupBox* Frame1 = nullptr;
    QList<QRadioButton*> Option1;  // create, restore
    QWidget* Picture2 = nullptr;   // page 2
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QList<QRadioButton*> Option2;  // events, phone book, tasks
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void restore();
    // The staging has ended: the restore goes on with its swap.
    void restoreStaged(const std::shared_ptr<RestoreStage>& pending);
    void restoreEnded(DataKind kind, CopyOutcome outcome);

    std::shared_ptr<RestoreStage> pending_;  // the restore being staged
};
