#pragma once

#include "platform/Form.h"

#include <QDateTime>
#include <QString>

// The hidden dispatcher window: it lives for the whole run and holds the state the
// whole program shares.
class frmProcess : public Form {
    Q_OBJECT
public:
    frmProcess();

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
};
