#include "ChooserDialog.h"

#include "platform/Controls.h"
#include "platform/Form.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

void BuildChooser(Form* window, int options, ChooserControls* controls)
{
    constexpr int WindowWidth = 7500;
    constexpr int OptionStep = 420;
    const int frameHeight = 480 + options * OptionStep;
    const int tabsHeight = frameHeight + 660;
    window->setFixedSize(Px(WindowWidth), Px(tabsHeight + 840));
    controls->tbsOptions = MakeControl<QTabWidget>(window, "tbsOptions", 120, 120, WindowWidth - 240, tabsHeight);
    // The tab strip takes no part in the Tab-key order.
    controls->tbsOptions->setFocusPolicy(Qt::NoFocus);
    controls->tbsOptions->tabBar()->setFocusPolicy(Qt::NoFocus);
    controls->picOptions = new QWidget(controls->tbsOptions);
    controls->picOptions->setObjectName(QStringLiteral("picOptions0"));
    controls->tbsOptions->addTab(controls->picOptions, QString());
    controls->Frame1 = MakeControl<QGroupBox>(controls->picOptions, "Frame1", 120, 120, WindowWidth - 600, frameHeight);
    for (int i = 0; i < options; ++i) {
        auto* option = MakeControl<QRadioButton>(controls->Frame1, "Option1", 180, 360 + i * OptionStep,
                                                  WindowWidth - 960, 300);
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        controls->Option1.append(option);
    }
    controls->Option1.first()->setChecked(true);
    const int buttonsTop = 120 + tabsHeight + 180;
    controls->cmdOK = MakeControl<QPushButton>(window, "cmdOK", WindowWidth - 2700, buttonsTop, 1215, 375);
    controls->cmdCancel = MakeControl<QPushButton>(window, "cmdCancel", WindowWidth - 1335, buttonsTop, 1215, 375);
    controls->cmdOK->setText(QStringLiteral("OK"));
    window->SetCancelButton(controls->cmdCancel);
    window->SetDefaultButton(controls->cmdOK);
}

int ChosenOption(const ChooserControls& controls)
{
    for (int i = 0; i < controls.Option1.size(); ++i) {
        if (controls.Option1.at(i)->isChecked())
            return i;
    }
    return -1;
}
