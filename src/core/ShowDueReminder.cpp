#include "frmProcess.h"

#include "Fatal.h"
#include "Formats.h"
#include "IconBaloonTray.h"
#include "MLock.h"
#include "Options.h"
#include "clsINI.h"
#include "events/frmWindow.h"
#include "mainwin/frmMain.h"
#include "platform/Controls.h"
#include "platform/MsgBox.h"
#include "platform/SoundPlayer.h"
#include "platform/WindowEffects.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

namespace {

// Titles longer than this slide through their frame instead of standing still.
constexpr int LongestStillTitle = 18;

void fill(frmWindow& window, const DispatcherRow& row, const QString& timeFormat)
{
    window.Fired = row;
    window.Label1->setText(row.title);
    window.Label2->setText(DateText(row.date));
    window.Label3->setText(row.category);
    QString shown = row.category;
    shown.replace(QStringLiteral("_QM_"), GetLangText(QStringLiteral("mes1")));
    window.Label7->setText(shown);
    window.Label4->setText(TimeText(row.time, timeFormat));
    window.Label9->setText(QString::number(row.id));
    window.Label8->setText(row.oneOff ? QStringLiteral("True") : QStringLiteral("False"));
    // A category renamed or deleted since the event was saved has no picture.
    if (row.category != QLatin1String("_QM_")) {
        const frmMain& main = Forms::Get<frmMain>();
        const QString key = QStringLiteral("_") + row.category;
        if (main.ImageList1.Contains(key))
            window.Image1->setPixmap(main.ImageList1.Icon(key).pixmap(32, 32));
    }
    window.Label5->setPlainText(row.comment);
    const bool commented = !row.comment.trimmed().isEmpty();
    window.Label5->setVisible(commented);
    window.Label6->setVisible(commented);
}

void disableOtherWindows(frmWindow& window)
{
    // A menu left open would run its command behind the reminder.
    for (int nested = 0; nested < 8 && QApplication::activePopupWidget(); ++nested)
        QApplication::activePopupWidget()->close();
    for (Form* form : Forms::Loaded()) {
        if (form != &window && form->objectName() != window.objectName() && form->isEnabled()) {
            form->setEnabled(false);
            window.DisabledWindows.append(form);
        }
    }
}

// The title becomes one line as wide as its text and starts just right of its frame.
void prepareSlidingTitle(frmWindow& window)
{
    window.Label1->setWordWrap(false);
    window.Label1->adjustSize();
    window.Label1->move(Px(Twips(window.Frame1->width()) + 120), window.Label1->y());
    window.Timer2->start();
}

}  // namespace

void frmProcess::ShowDueReminder()
{
    // One reminder at a time: none starts while another is shown or being closed.
    if (CurrentReminderStage() != ReminderStage::Idle)
        return;
    // A question the program asked of itself gives way; it is asked again later.
    WithdrawUnrequested();
    if (IsDialogActive()) {
        if (!ReminderBalloonShown) {
            ReminderBalloonShown = true;
            TrayBalloon(ProductName(), GetLangText(QStringLiteral("mes247")), 1);
        }
        return;
    }
    ReminderBalloonShown = false;

    // A window left from a reminder that never came up starts afresh. Loading reads
    // the window's settings, so a bad one ends the program before anything changes.
    Forms::Unload<frmWindow>();
    QPointer<frmWindow> window(&Forms::Get<frmWindow>());
    window->SetStage(ReminderStage::Showing);

    for (Form* form : Forms::Loaded()) {
        if (form->objectName() == QLatin1String("frmOrg"))
            Forms::Unload(form);
    }
    Forms::DoEvents();
    if (!window)
        return;
    if (NextDue.item < 1 || NextDue.item > ListView1.Count()) {
        window->SetStage(ReminderStage::Idle);
        return;
    }
    const DispatcherRow row = ListView1.Item(NextDue.item);

    playSound::PlaySoundFile(NoNul(ReadOption(QStringLiteral("RemWindow"), QStringLiteral("musicpath"))), window);
    fill(*window, row, TimeFormat);
    disableOtherWindows(*window);

    FormTransparent::SetTransparency(window, 0);
    OnTopModul::MakeTopMost(window);
    window->ShowModeless();
    window->Timer1->start();
    if (row.title.size() > LongestStillTitle)
        prepareSlidingTitle(*window);

    frmMain& main = Forms::Get<frmMain>();
    if (main.isEnabled()) {
        main.setEnabled(false);
        window->DisabledWindows.append(&main);
    }
}
