#pragma once

#include "EventRecord.h"
#include "platform/Form.h"

#include <QDate>
#include <QList>
#include <QTime>

#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimeEdit;
class DateField;
class cTabStripPane;
class Recordset;

// The event editor: title, date, optional time and comment of one event, whether
// it is reminded of at its moment or ahead of it, and a repeat rule of its own.
// Opened for a new event of a category (the planner's New), for the planner's
// current row (EditEvent) and as a quick reminder (tabs 2 and 3 removed; saved
// under "_QM_").
class frmMesAdd : public Form {
    Q_OBJECT
public:
    frmMesAdd();
    ~frmMesAdd() override;

    void Form_Load() override;
    void ApplyLanguage();

    // The category new events are saved under: the name it is shown with (the one
    // that equals "rpt12" moves past dates on) and its stored name.
    void SetCategory(const QString& shownName, const QString& storedName);
    // Edit mode for the row with this id: its own OK, no Add, no second event.
    void SetEditMode(qint64 rowId, const QString& caption);
    // The event's own rule into the repeat controls, as a stored rule reads
    // (present: both values exist).
    void ShowOwnRule(bool present, const QString& nextType, const QString& nextInterval);
    bool IsQuickReminder() const;

    // True when a pending event carries exactly this title.
    bool EventTitleExists(const QString& title) const;
    // AdvanceDate and AdvanceTime, set to the event's moment, become the moment
    // of the advance row.
    void CalcAdvanceTime();
    QList<EntryChange> SaveInAdvance(qint64 id) const;
    QList<EntryChange> SaveSpecialRepeat(qint64 id) const;
    void GetRepeatCode(QString* letter, int* count) const;
    // What OK and Add store for a new event, before they refresh the event list:
    // its rows and entries in one transaction. False when nothing was stored.
    bool SaveNewEvent(PastThreshold threshold);

    void Text1_Change();
    void Check1_Click();
    void Option1_Click();
    void Option2_Click();
    void Check3_Click();
    void Combo2_Click();
    void Combo3_Change();
    void Text2_Change();
    void Command0_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    std::unique_ptr<cTabStripPane> TabPane;
    QDate AdvanceDate;
    QTime AdvanceTime;
    qint64 EditedRowId = 0;

    QTabWidget* tbsOptions = nullptr;
    std::array<QWidget*, 3> picOptions{};
    QGroupBox* fraSample1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label2 = nullptr;
    DateField* DTPicker1 = nullptr;
    QCheckBox* Check1 = nullptr;
    QTimeEdit* DTPicker2 = nullptr;
    QLabel* Label3 = nullptr;
    QPlainTextEdit* Text3 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label4 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QComboBox* Combo1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QGroupBox* fraSample2 = nullptr;
    QCheckBox* Check3 = nullptr;
    QLabel* Label5 = nullptr;
    QComboBox* Combo2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QComboBox* Combo3 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLabel* Label6 = nullptr;
    QPushButton* Command0 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command1 = nullptr;

private:
    // What the window holds, with a past date possibly moved on.
    struct Entered {
        QString title;
        QDate date;
        QTime time;
        bool hasTime = false;
        QString comment;
    };

    void buildDatePage(QWidget* page);
    void buildReminderPage(QWidget* page);
    void buildRepeatPage(QWidget* page);
    Entered entered() const;
    bool applyPastDateRule(Entered* event, PastThreshold threshold) const;
    bool saveEditedEvent();
    void showEntered(const Entered& event);

    QString categoryShown_;
    QString categoryStored_;
};
