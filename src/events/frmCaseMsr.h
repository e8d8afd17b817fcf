#pragma once

#include "platform/Form.h"

#include <QDate>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

// The contact-date reminder: turns a contact's anniversary into an event of a
// chosen category (not the table's first one), without a time and without
// entries of its own. It does not refresh the event list.
class frmCaseMsr : public Form {
    Q_OBJECT
public:
    frmCaseMsr();

    void Form_Load() override;

    // Shows the dialog modally over the contact card for the names and the
    // anniversary the card shows.
    static void ShowFor(Form* card, const QString& surname, const QString& givenName, const QDate& anniversary);

    void Command1_Click();
    void CommandCancel_Click();

    // What the card shows.
    QString Surname;
    QString GivenName;
    QDate Anniversary;

    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* ComboM = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* CommandCancel = nullptr;
};
