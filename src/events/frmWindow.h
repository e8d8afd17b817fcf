#pragma once

#include "RemWindowSettings.h"
#include "core/DispatcherList.h"
#include "platform/Form.h"

#include <QList>
#include <QPointer>

#include <array>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QTimer;

// Where the reminder road stands: no reminder, one being prepared or shown, one
// being closed. A new reminder starts only from Idle.
enum class ReminderStage { Idle, Showing, Closing };
ReminderStage CurrentReminderStage();

// The pop-up that announces one due event. The dispatcher fills and shows it
// (frmProcess::ShowDueReminder); a snooze button or the title bar's close ends it,
// and its unload (the close sequence) replaces the fired row by its next occurrence.
class frmWindow : public Form {
    Q_OBJECT
public:
    frmWindow();
    ~frmWindow() override;

    // Icon, colours and captions; the effect settings are read here, once.
    void Form_Load() override;
    // Stores the answer of a reminder that was filled and shown; keeps the window
    // when it could not be stored.
    bool Form_QueryUnload(UnloadMode mode) override;
    // The close sequence; it acts only for a reminder that was filled and shown.
    void Form_Unload() override;

    void SetStage(ReminderStage stage);

    // Snooze by 5, 10, 30, 60, 180 or 1440 minutes (index 0 to 5).
    void Command1_Click(int index);
    void Timer1_Timer();
    void Timer2_Timer();
    void mCopy_Click();
    // Pops the menu up over the window with the control disabled meanwhile.
    void PopContextMenu(QWidget* control, QMenu* menu);

    // Target of the fade-in, in hundredths of a percent of full opacity.
    int FadeTarget() const { return settings_.transparency * 2 * 100; }

    // The fired row as the dispatcher listed it: the labels show it, the close
    // sequence works on its typed values and its id.
    DispatcherRow Fired;
    // The windows the reminder disabled; the close enables exactly these again.
    QList<QPointer<QWidget>> DisabledWindows;

    QFrame* FrameImage = nullptr;
    QFrame* Frame1 = nullptr;  // clips the title
    QFrame* Frame2 = nullptr;  // date, time and category
    QFrame* Frame3 = nullptr;  // comment
    QFrame* Frame5 = nullptr;  // snooze buttons
    QLabel* Label1 = nullptr;  // title
    QLabel* Label2 = nullptr;  // date
    QLabel* Label3 = nullptr;  // category as listed (hidden): the rule's key
    QLabel* Label4 = nullptr;  // time
    QPlainTextEdit* Label5 = nullptr;  // comment
    QLabel* Label6 = nullptr;  // caption of the comment
    QLabel* Label7 = nullptr;  // category as shown
    QLabel* Label8 = nullptr;  // one-off flag "True"/"False" (hidden)
    QLabel* Label9 = nullptr;  // row id (hidden)
    QLabel* Image1 = nullptr;  // category picture
    std::array<QPushButton*, 6> Command1{};
    QTimer* Timer1 = nullptr;  // 200 ms: blink and fade-in
    QTimer* Timer2 = nullptr;  // 50 ms: title slide
    QSlider* Slider1 = nullptr;  // fade counter, hundredths of a percent (hidden)
    QMenu* mnuPopUp = nullptr;
    QAction* mCopy = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyColours();
    void ApplyLanguage();
    void FadeStep();
    void closeSequence();

    RemWindowSettings settings_;
    QTimer* fadeTimer_ = nullptr;
    // The snooze or the close stored the answer: the unload only ends the window.
    bool answerStored_ = false;
};

// Minutes of the snooze buttons, by index.
int SnoozeMinutes(int index);
