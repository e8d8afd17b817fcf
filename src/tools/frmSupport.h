#pragma once

#include "platform/Form.h"

#include <QPointer>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class frmMain;
namespace Web {
class Download;
}

// The support window: page 1 offers the update check and the support pages of the
// web site; page 2 compares the installed version with the published one and keeps
// the choice of automatic checks ([Update] "auto", written at every close).
class frmSupport : public Form {
    Q_OBJECT
public:
    frmSupport();

    void Form_Load() override;
    void Form_Unload() override;

    // Shows the window modally, centred over the main window.
    static void ShowFor(frmMain& main);

    void cmdNext_Click();
    void cmdMenu_Click();
    void cmdGet_Click();
    void cmdExit_Click();

    QWidget* Page1 = nullptr;
    QLabel* lblHeading1 = nullptr;
    QLabel* lblDescription = nullptr;
    QGroupBox* fraOptions = nullptr;
    QRadioButton* optUpdate = nullptr;
    QRadioButton* optSupport = nullptr;

    QWidget* Page2 = nullptr;
    QLabel* lblHeading2 = nullptr;
    QLabel* lblInstalledCaption = nullptr;
    QLabel* lblInstalled = nullptr;
    QLabel* lblLatestCaption = nullptr;
    QLabel* lblLatest = nullptr;
    QPushButton* cmdGet = nullptr;
    QLabel* lblResult = nullptr;
    QCheckBox* chkAuto = nullptr;

    QPushButton* cmdNext = nullptr;
    QPushButton* cmdMenu = nullptr;
    QPushButton* cmdExit = nullptr;

private:
    void ApplyLanguage();
    // The installed version against the published one, on page 2. While the answer
    // is on its way the window shows the busy pointer and Menu waits; Exit, Esc and
    // the title bar's close still close it, which cancels the download.
    void CheckVersion();
    void showVersion(const QByteArray& answer);
    bool checking() const;

    QString installed_;
    QPointer<Web::Download> check_;
};
