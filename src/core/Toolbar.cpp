#include "Toolbar.h"

#include "Options.h"
#include "Resources.h"
#include "platform/Controls.h"

#include <QAction>
#include <QFontMetrics>
#include <QToolBar>

#include <algorithm>

namespace {

// A caption too wide for its button is broken at the blank nearest its middle.
QString twoLinesWhenLong(QString caption, const QFontMetrics& metrics)
{
    constexpr int widest = 84;  // pixels
    if (metrics.horizontalAdvance(caption) <= widest)
        return caption;
    qsizetype best = -1;
    const qsizetype middle = caption.size() / 2;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char(' ') && (best < 0 || std::abs(i - middle) < std::abs(best - middle)))
            best = i;
    }
    if (best >= 0)
        caption[best] = QLatin1Char('\n');
    return caption;
}

}  // namespace

QToolBar* BuildToolbar(QWidget* window, int widthTwips, std::span<const ToolbarEntry> entries, int count,
                       int separatorAt, const std::function<void(int)>& onClick, QList<QAction*>* buttons)
{
    auto* toolbar = new QToolBar(window);
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(QSize(32, 32));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Place(toolbar, 0, 0, widthTwips, 1080);
    buttons->clear();
    for (int index = 1; index <= count; ++index) {
        const auto entry = std::find_if(entries.begin(), entries.end(),
                                        [index](const ToolbarEntry& e) { return e.index == index; });
        if (entry == entries.end()) {
            if (index == separatorAt)
                toolbar->addSeparator();
            buttons->append(nullptr);
            continue;
        }
        QAction* button = toolbar->addAction(QString());
        button->setObjectName(QStringLiteral("Toolbar1_%1").arg(index));
        QObject::connect(button, &QAction::triggered, window, [onClick, index] { onClick(index); });
        buttons->append(button);
    }
    return toolbar;
}

void SetToolbarPictures(const QList<QAction*>& buttons, std::span<const ToolbarEntry> entries)
{
    for (const ToolbarEntry& entry : entries)
        ToolbarButtonAt(buttons, entry.index)->setIcon(ToolbarIcon(QString::fromLatin1(entry.picture)));
}

void SetToolbarCaptions(QToolBar* toolbar, const QList<QAction*>& buttons, std::span<const ToolbarEntry> entries)
{
    for (const ToolbarEntry& entry : entries) {
        QAction* button = ToolbarButtonAt(buttons, entry.index);
        button->setText(GetLangText(QString::fromLatin1(entry.captionKey)));
        button->setIconText(twoLinesWhenLong(button->text(), toolbar->fontMetrics()));
    }
}

QAction* ToolbarButtonAt(const QList<QAction*>& buttons, int index)
{
    return index >= 1 && index <= buttons.size() ? buttons.at(index - 1) : nullptr;
}
