#pragma once

#include "DispatcherList.h"
#include "platform/FileSystem.h"
#include "platform/Form.h"

#include <QDateTime>
#include <QString>

#include <memory>

class EventRowsReader;
class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;
class QTreeView;

// The earliest event of the dispatcher list: the one the timer fires next.
struct NextDueRecord {
    int item = 0;  // list item number from 1; 0 = nothing can fall due
    QDate date;
    QTime time;    // null = midnight
};

// Due from the first second of its minute on its day, and at once on any later day.
bool IsDue(const NextDueRecord& next, const QDateTime& now);

// The hidden dispatcher window: it lives for the whole run, holds the state the
// whole program shares, keeps the list of every event and fires due reminders
// from its timer. Closing it only hides it.
class frmProcess : public Form {
    Q_OBJECT
public:
    frmProcess();
    ~frmProcess() override;

    void Form_Load() override;
    bool Form_QueryUnload(UnloadMode mode) override;

    // Shared state.
    bool ReminderBalloonShown = false;
    QString ProgramVersion;
    QString LanguageName;
    QString BuiltInMeasure1;
    QString BuiltInMeasure2;
    QString BuiltInMeasure3;
    QString GeneralGroupName;
    int PositionHandOffTop = 0;
    int PositionHandOffLeft = 0;
    QString AppPath;
    QString TimeFormat;
    QString WeatherCityId;
    QString WeatherTempId;
    QString WeatherCityName;
    QString NextEventTitle;
    QDateTime LastWeatherUpdate;

    // Controls.
    DispatcherList ListView1;
    QStatusBar* StatusBar1 = nullptr;
    QTimer* Timer1 = nullptr;
    QMenu* mPopUp = nullptr;
    QAction* mOpen = nullptr;
    QAction* mOptions = nullptr;
    QAction* mHomePage = nullptr;
    QAction* mUpGrate = nullptr;
    QAction* mHelp = nullptr;
    QAction* mExit = nullptr;
    NextDueRecord NextDue;

    QString Panel(int number) const;
    void SetPanel(int number, const QString& text);

    void BusRefresh();
    // The list read again from the whole table: after a restore, a change of language
    // and where the rows changed are not known (the start reads it on a worker thread).
    void DateRefresh();
    // The same list, reached by reading again only the rows written since the last
    // refresh (the log of the events connection knows them); a whole refresh where
    // the log cannot tell.
    void DateRefreshChanged();
    // True while a refresh runs, or the start's rows are on their way: the main window
    // it loads leaves the refresh to it.
    bool Refreshing() const { return refreshing_ || startRead_; }
    // The program's file dialog: mode 1 open, 2 save, 3 a folder. The chosen path; "Error"
    // when cancelled (cancelError) or failed; "" for another mode. A save dialog adds
    // defaultSuffix to a name typed without an extension.
    QString CDlg(Form* owner, int mode, const QString& title, const QString& fileName, const QString& initDir,
                 const QString& flags, const QString& filter, bool cancelError,
                 const QString& defaultSuffix = QString());
    void CheckForUpdate();
    void ApplyLanguage();

    void Timer1_Timer();
    void TrayLeftClick();
    void mOpen_Click();
    void mHelp_Click();
    void mExit_Click();
    // A dialog in front keeps the tray menu from showing: the dialog is raised instead.
    bool TrayMenuMayShow();
    // The list's view is made when the window is first shown, which in most runs it
    // never is: building it, and measuring its header with its font, would cost every start.
    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CheckDue(const QDateTime& now);
    void beginStartRefresh();
    void finishStartRefresh();
    void followChanges();
    void finishRefresh();
    void ShowDueReminder();
    void StartTray();
    void showMainWindow();
    void showCentred(Form& dialog);

    QTreeView* listView_ = nullptr;
    QList<QLabel*> panels_;
    QDate panelToday_;
    bool ticking_ = false;
    bool refreshing_ = false;
    std::unique_ptr<EventRowsReader> startRead_;
    QString markerPath_;  // set once the language texts can be read
    FileSystem::FolderFile marker_;  // the same file, tested at every tick
};

void HideFromTaskbar(Form* form);
// When a Cyrillic interface language cannot be shown on this system, switches to
// English with a fixed warning (stored in lang.ini); true when it did.
bool LanguageCharsetFallback();
// The fallback, and the main window shown again in English after it.
void CheckLanguageCharset();
// Opens the user manual of the interface language, or says why it cannot.
void OpenHelpFile();
// The command line as a whole (the arguments after the program name, joined by blanks).
void SetCommandLine(const QString& arguments);
QString CommandLine();
