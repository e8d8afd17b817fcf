#include "WizardControls.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

namespace {
constexpr int OptionStep = 400;
}

QWidget* AddPage(QWidget* window, const char* name, int width, int height, QLabel** heading)
{
    auto* page = MakeControl<QWidget>(window, name, 0, 0, width, height);
    page->setAutoFillBackground(true);
    *heading = MakeControl<QLabel>(page, "Heading", 240, 240, width - 480, 360);
    (*heading)->setObjectName(page->objectName() + QStringLiteral("Heading"));
    QFont font = (*heading)->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.15);
    (*heading)->setFont(font);
    return page;
}

QLabel* AddDescription(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* label = MakeControl<QLabel>(parent, name, left, top, width, height);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QGroupBox* AddOptionFrame(QWidget* parent, const char* name, int left, int top, int width, int options,
                          QList<QRadioButton*>* buttons)
{
    auto* frame = MakeControl<QGroupBox>(parent, name, left, top, width, 420 + options * OptionStep);
    for (int i = 0; i < options; ++i) {
        auto* option = MakeControl<QRadioButton>(frame, "Option", 240, 360 + i * OptionStep, width - 480, 330);
        option->setObjectName(frame->objectName() + QStringLiteral("Option%1").arg(i));
        buttons->append(option);
    }
    buttons->first()->setChecked(true);
    return frame;
}

int ChosenIndex(const QList<QRadioButton*>& buttons)
{
    for (int i = 0; i < buttons.size(); ++i) {
        if (buttons[i]->isChecked())
            return i;
    }
    return 0;
}
