#pragma once

#include "platform/Form.h"

// The main window: month calendar, event categories, nearest event, weather.
class frmMain : public Form {
    Q_OBJECT
public:
    frmMain();

    void ColorDates();
    void SetBaloons();
    void GetWeather5days();
};
