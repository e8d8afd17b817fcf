// The main window itself: its load, texts and caption, the position hand-off, the
// keyboard, the toolbar and its closing.

#include "test_mainwin_fixture.h"

#include "platform/KnownFolders.h"
#include "platform/Shell.h"
#include "tools/frmBackUp.h"

#include <QAction>
#include <QDir>
#include <QKeyEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolBar>
#include <QWindow>

namespace {

class MainWindow : public MainWindowTest {
protected:
    static void press(int key, Qt::KeyboardModifiers modifiers)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&main(), &event);
    }

    // A program folder of its own, so that a test may change its language file or
    // leave out the manual.
    QString ownProgramFolder(bool withManual)
    {
        const QString folder = env.Root() + s("/program");
        QDir().mkpath(folder + s("/Language"));
        for (const char* language : {"English", "Russian"}) {
            const QString name = s("/Language/") + s(language) + s(".ini");
            QFile::copy(TestEnv::BuildShare() + name, folder + name);
        }
        if (withManual)
            WriteFile(folder + s("/Help/enhelp.pdf"), "%PDF-1.4");
        process().AppPath = folder;
        return folder;
    }
};

TEST_F(MainWindow, LoadSetsCaptionTextsAndTheNearestEventPlaceholder)
{
    frmMain& window = main();
    EXPECT_EQ(window.windowTitle(), s("Tessaryn v.3.30 - [tester]"));
    EXPECT_EQ(window.Label43->text(), GetLangText(s("mes56")));
    EXPECT_EQ(window.Label16->text(), GetLangText(s("mes241")));
    EXPECT_EQ(window.Label17->text(), GetLangText(s("mes313")));
    EXPECT_EQ(window.Label18->text(), GetLangText(s("mes314")));
    EXPECT_EQ(window.WeekdayCaptions[0]->text(), GetLangText(s("wdays1")));
    EXPECT_EQ(window.ToolbarButton(2)->text(), GetLangText(s("mnu0")));
    EXPECT_EQ(window.ToolbarButton(19)->text(), GetLangText(s("mnu9")));
    // The empty events table has given the panel its empty state by now.
    EXPECT_EQ(window.Label1->text(), GetLangText(s("mes240")));
    EXPECT_NE(window.weatherArea, nullptr);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindow, AMissingTextShowsAsNothing)
{
    const QString folder = ownProgramFolder(false);
    QString english = QString::fromUtf8(ReadFile(folder + s("/Language/English.ini")));
    english.remove(QRegularExpression(s("\r\nmes56=[^\r]*")));
    WriteFile(folder + s("/Language/English.ini"), english.toUtf8());
    EXPECT_TRUE(main().Label43->text().isEmpty());
    EXPECT_EQ(main().Label17->text(), GetLangText(s("mes313")));
}

TEST_F(MainWindow, TheHandedPositionIsTakenOnlyWhenItsLeftIsNotZero)
{
    frmMain& window = main();
    window.ShowModeless();
    window.Move(1500, 1200);
    process().PositionHandOffLeft = 0;
    process().PositionHandOffTop = 3000;
    window.Form_Activate();
    EXPECT_EQ(window.Left(), 1500);
    EXPECT_EQ(process().PositionHandOffTop, 3000);

    process().PositionHandOffLeft = 2400;
    process().PositionHandOffTop = 1800;
    window.Form_Activate();
    EXPECT_EQ(window.Left(), 2400);
    EXPECT_EQ(window.Top(), 1800);
    EXPECT_EQ(process().PositionHandOffLeft, 0);
    EXPECT_EQ(process().PositionHandOffTop, 0);

    window.HandOffPosition();
    EXPECT_EQ(process().PositionHandOffLeft, 2400);
    EXPECT_EQ(process().PositionHandOffTop, 1800);
    window.Move(600000, -600000);
    window.HandOffPosition();
    EXPECT_EQ(process().PositionHandOffLeft, 32767);
    EXPECT_EQ(process().PositionHandOffTop, -32768);
}

TEST_F(MainWindow, ADialogIsCentredOverTheWindow)
{
    frmMain& window = main();
    window.ShowModeless();
    window.Move(3000, 1500);
    Form dialog(s("frmStandIn"), Form::DialogWindow);
    dialog.setFixedSize(200, 100);
    dialog.show();
    window.CentreOver(dialog);
    EXPECT_EQ(dialog.Left(), window.Left() + window.Width() / 2 - dialog.Width() / 2);
    EXPECT_EQ(dialog.Top(), window.Top() + window.Height() / 2 - dialog.Height() / 2);
}

// A window manager decorates a window by its type and hints: a dialog of the program
// and a message box over it are dialogs without minimise or maximise buttons, each
// kept above the window it was opened from; the main window alone can be minimised.
TEST_F(MainWindow, DialogsAndMessageBoxesAreDecoratedAsDialogsAboveTheirOwner)
{
    main().ShowModeless();
    EXPECT_EQ(main().windowType(), Qt::Window);
    EXPECT_TRUE(main().windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    // What each window shows the window manager, taken while it is open.
    struct Seen {
        QString name;
        Qt::WindowFlags flags;
        bool aboveOwner;
    };
    QList<Seen> seen;
    const auto note = [&seen](QWidget* window, QWidget* owner) {
        const QWindow* handle = window->windowHandle();
        seen.append({QString::fromLatin1(window->metaObject()->className()), window->windowFlags(),
                     handle && handle->transientParent() == owner->windowHandle()});
    };
    MsgBoxScript::SetAutomatic(false);
    QTimer::singleShot(50, qApp, [note] {
        frmBackUp* wizard = Forms::Find<frmBackUp>();
        if (!wizard)
            return;
        note(wizard, &main());
        QTimer::singleShot(50, qApp, [note, wizard] {
            if (QWidget* box = QApplication::activeModalWidget(); box && box != wizard) {
                note(box, wizard);
                box->close();
            }
        });
        MsgBox(s("A message"), 64, s("Tessaryn"));
        wizard->cmdCancel->click();
    });
    main().Toolbar1_ButtonClick(11);
    MsgBoxScript::SetAutomatic(true);
    ASSERT_EQ(seen.size(), 2);
    for (const Seen& window : seen) {
        SCOPED_TRACE(window.name.toStdString());
        EXPECT_EQ(window.flags & Qt::WindowType_Mask, Qt::Dialog);
        EXPECT_FALSE(window.flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        EXPECT_TRUE(window.aboveOwner);
    }
}

TEST_F(MainWindow, F1OpensTheManualWhateverTheModifiersAndSaysWhyWhenItCannot)
{
    const QString folder = ownProgramFolder(true);
    qputenv("TESSARYN_PDF_HANDLER", "1");
    main().ShowModeless();
    press(Qt::Key_F1, Qt::NoModifier);
    press(Qt::Key_F1, Qt::ControlModifier | Qt::ShiftModifier);
    main().Toolbar1_ButtonClick(19);
    EXPECT_EQ(Shell::Opened().count(folder + s("/Help/enhelp.pdf")), 3);
    EXPECT_TRUE(messages().isEmpty());

    qputenv("TESSARYN_PDF_HANDLER", "0");
    press(Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes19"))});
    QFile::remove(folder + s("/Help/enhelp.pdf"));
    press(Qt::Key_F1, Qt::NoModifier);
    EXPECT_EQ(messages().value(1), GetLangText(s("mes20")));
    EXPECT_EQ(MsgBoxScript::Log().value(1).buttons, 48);
    qunsetenv("TESSARYN_PDF_HANDLER");
}

TEST_F(MainWindow, CtrlF10AloneShowsTheDispatcherWindow)
{
    main().ShowModeless();
    press(Qt::Key_F10, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(process().isVisible());
    press(Qt::Key_F10, Qt::ControlModifier);
    EXPECT_TRUE(process().isVisible());
}

TEST_F(MainWindow, EveryToolbarButtonIsThereAndEnabled)
{
    frmMain& window = main();
    for (int index = 1; index <= 19; ++index) {
        QAction* button = window.ToolbarButton(index);
        const bool captioned = QList<int>{2, 4, 6, 8, 11, 13, 15, 17, 19}.contains(index);
        ASSERT_EQ(button != nullptr, captioned) << index;
        if (button) {
            EXPECT_TRUE(button->isEnabled()) << index;
        }
    }
    EXPECT_EQ(window.Toolbar1->actions().count(), 10);  // nine buttons and the gap between the groups
}

TEST_F(MainWindow, ClosingTheWindowLeavesTheProgramRunning)
{
    main().ShowModeless();
    main().close();
    QApplication::processEvents();
    EXPECT_FALSE(Forms::IsLoaded<frmMain>());
    EXPECT_TRUE(Forms::IsLoaded<frmProcess>());
    EXPECT_TRUE(main().ListView1->count() > 0);  // the next touch loads it afresh
}

}  // namespace
