#pragma once

#include "platform/Form.h"

#include <QPointer>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
namespace Web {
class Download;
}

// The weather set-up: the user searches the forecast service for a city, picks one
// of the cities found and the temperature unit; OK stores them and refreshes the
// main window's forecast.
class frmWeather : public Form {
    Q_OBJECT
public:
    frmWeather();

    void Form_Load() override;
    void Form_Unload() override;

    // The city search (also Enter in Text1). While it waits for its answer the
    // dialog shows the busy pointer; a new search takes the place of one on its way,
    // and closing the dialog cancels it.
    void Command1_Click();
    void Combo1_Click();
    void Command3_Click();
    void Command2_Click();
    void Image2_Click();

    QLabel* Label5 = nullptr;
    QLabel* Label12 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    // The cities found, shown as "name(country)"; Combo2 holds their ids in the same
    // order and is never shown.
    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QCheckBox* Check1 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Image2 = nullptr;

private:
    void showSearchAnswer(const QByteArray& answer, bool ok);
    void addCity(const QString& entry, const QString& id);
    void clearCities();
    void showCities();
    void updateOk();

    QPointer<Web::Download> search_;
};
