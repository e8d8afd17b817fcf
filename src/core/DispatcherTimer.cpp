#include "frmProcess.h"

#include "Fatal.h"
#include "Formats.h"
#include "IconBaloonTray.h"
#include "NewVersion.h"
#include "Options.h"
#include "mainwin/frmMain.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/TrayIcon.h"

#include <QFileInfo>

namespace {

// The marker a second start leaves; its balloon shows once per marker, even when
// the file cannot be deleted.
QDateTime announcedMarker;

qint64 minuteNumber(const QDateTime& moment) { return moment.toSecsSinceEpoch() / 60; }

}  // namespace

void frmProcess::Timer1_Timer()
{
    if (ticking_)
        return;
    ticking_ = true;
    const QDateTime now = Clock::TickNow();

    CheckDue(now);
    // A reminder goes first: the update question waits for its close.
    AskWaitingUpdateQuestion();

    if (now.date() != panelToday_) {
        panelToday_ = now.date();
        SetPanel(5, DateText(panelToday_));
    }

    // The marker's notice needs the language texts, which start-up reads first.
    if (marker_.Exists()) {
        const QDateTime written = QFileInfo(markerPath_).lastModified();
        if (written != announcedMarker) {
            announcedMarker = written;
            // Without a tray icon the notice could not be seen, nor the program
            // reached: the second start brings it up as a click on the icon would.
            if (TrayIcon::IsVisibleInTray())
                TrayBalloon(ProductName(), GetLangText(QStringLiteral("mes304")), 1);
            else
                TrayLeftClick();
        }
        // A marker that cannot be removed is announced once: its time is kept.
        std::ignore = FileSystem::RemoveFile(markerPath_);
    }

    if (!LastWeatherUpdate.isValid() || minuteNumber(now) - minuteNumber(LastWeatherUpdate) > 20) {
        LastWeatherUpdate = now;
        frmMain* main = Forms::Find<frmMain>();
        if (main && main->isVisible())
            main->GetWeather5days();
    }
    ticking_ = false;
}

bool IsDue(const NextDueRecord& next, const QDateTime& now)
{
    if (next.item == 0 || !next.date.isValid())
        return false;
    const QTime due = next.time.isValid() ? QTime(next.time.hour(), next.time.minute()) : QTime(0, 0);
    return next.date < now.date() || (next.date == now.date() && now.time() >= due);
}

void frmProcess::CheckDue(const QDateTime& now)
{
    if (ListView1.Count() > 0 && IsDue(NextDue, now))
        ShowDueReminder();
}
