#pragma once

#include "WeatherForecast.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
namespace Web {
class Download;
}

// The main window's five-day forecast for the chosen city. One refresh downloads
// the forecast once and keeps its periods until the next refresh; choosing a period
// in Combo3 shows it from that copy. The panel keeps what it shows while the new
// forecast is on its way. A refresh that fails covers the panel with the hint
// Picture3 and never shows a message: it runs unattended (load, tray, timer).
class WeatherPanel : public QWidget {
    Q_OBJECT
public:
    explicit WeatherPanel(QWidget* parent = nullptr);

    // Records the update time and asks for the forecast, whose answer reloads the
    // periods and shows the second one, or shows the hint panel. A refresh of the
    // city whose forecast is on its way joins it; another city's answer is dropped.
    void GetWeather5days();
    bool IsLoading() const;
    // Shows the period of Combo3's entry `index` (the entry's item data is the
    // period's place in the forecast). A period that cannot be shown keeps the
    // panel as it was and says so with "mes310".
    void ShowForecast(int index);
    // The hint's captions and the period names of the list, in the current language.
    void ApplyLanguage();

    void Combo3_Click();
    void Command2_Click();
    void Image3_Click();
    void Label3_Click();

    QComboBox* Combo3 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Image3 = nullptr;
    QFrame* Picture3 = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* Command2 = nullptr;

signals:
    // The temperature was clicked: the calendar goes back to today.
    void todayRequested();

private:
    void showAnswer(const QByteArray& answer, bool ok);
    const ForecastPeriod* entryPeriod(int index) const;
    bool showPeriod(const ForecastPeriod& period);
    void clearForecast();
    void showHint();
    void openSetup();

    QList<ForecastPeriod> periods_;
    int shownEntry_ = -1;
    QPointer<Web::Download> download_;
};

// A left click (press and release over the control) on a label or picture runs the
