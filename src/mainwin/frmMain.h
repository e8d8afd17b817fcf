#pragma once

#include "platform/Form.h"

class QLabel;

// The main window: month calendar, event categories, nearest event, weather.
class frmMain : public Form {
    Q_OBJECT
public:
    frmMain();

    void ColorDates();
    void SetBaloons();
    void GetWeather5days();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label19 = nullptr;
    QLabel* Image4 = nullptr;
};
