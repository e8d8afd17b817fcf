#pragma once

// Shared set-up of the event-window tests, over the main-window fixture: the events
// table read back row by row, the registry entries of a row, and a tear-down that
// ends every window before the data environment goes.

#include "test_mainwin_fixture.h"

#include "events/EventRecord.h"
#include "events/frmMesAdd.h"
#include "events/PlannerGridModel.h"
#include "events/frmOrg.h"
#include "platform/Controls.h"

#include <QMouseEvent>
#include <QPointer>
#include <QToolBar>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

class EventWindowTest : public MainWindowTest {
protected:
    void TearDown() override { DeleteAllWindows(); }

    struct Row {
        qint64 id = 0;
        QString category;
        QString title;
        QDate date;
        QVariant time;
        QVariant notes;
        bool oneOff = false;
    };

    static QList<Row> stored()
    {
        QList<Row> result;
        for (const QVariantList& r : rows("SELECT Step_Numeric, Measure_Name, Step_Name, Step_Date, Step_Time, "
                                          "Step_Notes, Step_Rep FROM lst_Dates ORDER BY Step_Numeric"))
            result.append({r[0].toLongLong(), r[1].toString(), r[2].toString(),
                           QDate::fromString(r[3].toString(), Qt::ISODate), r[4], r[5], r[6].toLongLong() != 0});
        return result;
    }

    static qint64 addRow(const QString& category, const QString& title, const QDate& date,
                         const QVariant& time = QVariant())
    {
        addEvent(category, title, date, time);
        return rows("SELECT max(Step_Numeric) FROM lst_Dates").value(0).value(0).toLongLong();
    }

    static QString entry(const QString& path)
    {
        QString value;
        return RegRead(path, &value) == ReadResult::Found ? value : s("<none>");
    }
    static QString advance(qint64 id) { return entry(InAdvanceValuePath(id)); }

    // The events connection refuses every registry change, as a full disk would,
    // until told otherwise or closed.
    static void refuseRegistryChanges(bool refuse)
    {
        Connection& db = DataEnvironment1().Connection1;
        OpenIfClosed(db);
        for (const char* change : {"INSERT", "UPDATE", "DELETE"}) {
            const QString name = s("refuse_") + s(change);
            EXPECT_TRUE(db.Execute(s("DROP TRIGGER IF EXISTS temp.") + name).Ok());
            if (refuse) {
                ASSERT_TRUE(db.Execute(s("CREATE TEMP TRIGGER %1 BEFORE %2 ON main.registry "
                                         "BEGIN SELECT RAISE(ABORT, 'refused'); END")
                                           .arg(name, s(change)))
                                .Ok());
            }
        }
    }
    static QString ruleType(qint64 id) { return entry(SpecialKeyPath(id) + s("NextType")); }
    static QString ruleCount(qint64 id) { return entry(SpecialKeyPath(id) + s("NextInterval")); }

    // A click on the main window's toolbar button as the mouse makes it.
    static void clickToolbarButton(int index)
    {
        QWidget* button = main().Toolbar1->widgetForAction(main().ToolbarButton(index));
        ASSERT_NE(button, nullptr);
        const QPointF centre = QRectF(button->rect()).center();
        QMouseEvent press(QEvent::MouseButtonPress, centre, button->mapToGlobal(centre), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(button, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, centre, button->mapToGlobal(centre), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(button, &release);
    }

    // Runs body on the window of class T once it is up in its modal loop.
    template <class T>
    static void whenShown(std::function<void(T&)> body)
    {
        auto* timer = new QTimer(qApp);
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, body] {
            T* form = Forms::Find<T>();
            if (!form || !form->isVisible() || !form->IsShownModal())
                return;
            timer->stop();
            timer->deleteLater();
            body(*form);
        });
        timer->start();
    }
};
