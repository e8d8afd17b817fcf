#pragma once

#include "ImageList.h"
#include "MonthGrid.h"
#include "WeatherPanel.h"
#include "platform/Form.h"

#include <QDate>
#include <QLabel>
#include <QList>
#include <QListWidget>

#include <array>

class QAction;
class QComboBox;
class QTimer;
class QToolBar;

// The main window: month calendar with day colours and tooltips, the event
// categories, the nearest event, the weather, a clock and the toolbar to every other
// window. Loaded on demand (the event-list refresh loads it hidden) and unloaded when
// a full-window view takes its place.
class frmMain : public Form {
    Q_OBJECT
public:
    frmMain();

    void Form_Load() override;
    void Form_Activate() override;
    // With no tray icon shown, closing the window is the only way to end the program:
    // the close asks the tray Exit's question.
    bool Form_QueryUnload(UnloadMode mode) override;

    // Finish every drawing of the calendar and every event-list refresh, in this order.
    void SetBaloons();
    void ColorDates();
    // Fills the category list and its pictures from lst_Measures.
    void OpenDB();
    void GetWeather5days();

    void ShowToday();
    void DrawMonth();
    void ClearDays();
    void ComboMonth_Click();
    void Label43_Click();
    // The weather panel's temperature label returns to today as well.
    void Label3_Click();

    void Timer1_Timer();
    // Buttons by their index from 1; captioned buttons sit at 2, 4, 6, 8, 11, 13, 15, 17, 19.
    void Toolbar1_ButtonClick(int index);
    QAction* ToolbarButton(int index) const;

    void ListView1_DblClick();
    void ListView1_KeyPress(int keyCode);
    void ListView1_MouseUp(Qt::MouseButton button);

    // A user category's picture from its icon file. A missing file asks for a new
    // one; a file that is no picture gives the generic category picture.
    QIcon LoadCategoryIcon(const QString& iconPath, const QString& name);
    // Asks for a replacement picture until one is copied (or the user ends the program).
    void ChooseCategoryIcon(const QString& name);
    // A row of the category list with its picture, which ImageList1 keeps under
    // "_" + shown name. The row remembers the category's stored name.
    void AddCategoryRow(const QString& shownName, const QIcon& icon, const QString& storedName);
    // Gives every row of the category list the picture keyed "_" + its text.
    void RefreshCategoryIcons();
    // The category the list's commands act on; nullptr when no row is selected.
    QListWidgetItem* SelectedCategoryItem() const;
    // The stored name of a row's category.
    static QString StoredNameOf(const QListWidgetItem* item);
    static void SetStoredName(QListWidgetItem* item, const QString& storedName);

    // Stores this window's position for a full-window view that takes its place.
    void HandOffPosition();
    // A full-window view moves to the handed position when it loads and clears it.
    static void TakeHandedPosition(Form& view);
    // A full-window view closed by the program hands its position back and the main
    // window is shown again in its place.
    static void ReturnFrom(const Form& view);
    // Places a dialog at the centre of this window.
    void CentreOver(Form& dialog) const;

    // Colour (0xBBGGRR) and tooltip text of a day cell, as ColorDates left them.
    quint32 DayColour(int cell) const { return dayColour_[cell]; }
    const QString& DayTip(int cell) const { return dayTip_[cell]; }

    // Controls.
    QToolBar* Toolbar1 = nullptr;
    QLabel* LabelToday = nullptr;
    QLabel* Timer = nullptr;
    QTimer* Timer1 = nullptr;
    QComboBox* ComboMonth = nullptr;
    QComboBox* ComboYears = nullptr;
    QLabel* Label43 = nullptr;
    std::array<QLabel*, 7> WeekdayCaptions{};  // Label44, Label7 ... Label12
    std::array<QLabel*, DayCellCount> TextDay{};
    std::array<QWidget*, DayCellCount> PicDay{};
    QLabel* Label16 = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* Label18 = nullptr;
    // Nearest-event panel: category, date and time, title, category picture.
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label19 = nullptr;
    QLabel* Image4 = nullptr;
    QListWidget* ListView1 = nullptr;
    ImageList ImageList1;
    // The place of the weather panel.
    QWidget* weatherArea = nullptr;
    WeatherPanel* Weather = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildCalendar(QWidget* panel);
    void buildNearestEvent(QWidget* panel);
    void buildToolbar();
    void applyLanguage();
    void fillMonthCells(int year, int month);
    // Today's month in the combos and the day cells; false when the window went.
    bool selectToday();
    void setDayColour(int cell, quint32 colour);
    void showNearestEvent();
    // Opens the planner for the selected category; handOff stores this window's
    // position for it first.
    void OpenPlanner(bool handOff);

    QList<QAction*> toolbarButtons_;  // index - 1; separators have no action
    std::array<quint32, DayCellCount> dayColour_{};
    std::array<QString, DayCellCount> dayTip_{};
    QDate labelTodayDate_;
    bool redrawing_ = false;
    bool picturesSet_ = false;
};
