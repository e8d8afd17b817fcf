#include "WindowHelpers.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QList>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <QWheelEvent>

#include <functional>

namespace {

constexpr int Notch = 120;

class WheelHook : public QObject {
public:
    explicit WheelHook(QAbstractItemView* grid)
        : QObject(grid)
        , grid_(grid)
    {
        setObjectName(QStringLiteral("WheelHook"));
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel)
            return false;
        auto* wheel = static_cast<QWheelEvent*>(event);
        const int delta = wheel->angleDelta().y();
        const bool keys = wheel->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
        int rows = 0;
        if (std::abs(delta) >= Notch) {
            rows = (std::abs(delta) == Notch && !keys) ? 1 : 10;
            pending_ = 0;
        } else {
            pending_ += delta;
            if (std::abs(pending_) < Notch)
                return true;
            rows = keys ? 10 : 1;
            pending_ -= pending_ > 0 ? Notch : -Notch;
        }
        QScrollBar* bar = grid_->verticalScrollBar();
        const int step = grid_->verticalScrollMode() == QAbstractItemView::ScrollPerItem
                             ? 1
                             : std::max(1, grid_->sizeHintForRow(0));
        bar->setValue(bar->value() + (delta > 0 ? -rows : rows) * step);
        return true;
    }

private:
    QAbstractItemView* grid_;
    int pending_ = 0;
};

class FocusSelectAll : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            QPointer<QWidget> box = static_cast<QWidget*>(watched);
            QTimer::singleShot(0, box, [box] {
                if (auto* line = qobject_cast<QLineEdit*>(box))
                    SelectAllText(line);
                else if (auto* text = qobject_cast<QPlainTextEdit*>(box))
                    text->selectAll();
            });
        }
        return false;
    }
};

class BalloonTip : public QObject {
public:
    BalloonTip(QWidget* control, QString text, QColor back, QColor fore, int width, int delay, int visible)
        : QObject(control)
        , control_(control)
        , text_(std::move(text))
        , back_(back)
        , fore_(fore)
        , width_(width)
        , visible_(visible)
    {
        setObjectName(QStringLiteral("BalloonTip"));
        timer_.setSingleShot(true);
        timer_.setInterval(delay);
        connect(&timer_, &QTimer::timeout, this, &BalloonTip::show);
        control->installEventFilter(this);
    }

    const QString& text() const { return text_; }

    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Enter:
            timer_.start();
            break;
        case QEvent::Leave:
        case QEvent::Hide:
            timer_.stop();
            QToolTip::hideText();
            break;
        case QEvent::ToolTip:
            return true;
        default:
            break;
        }
        return false;
    }

private:
    void show()
    {
        QPalette palette = QToolTip::palette();
        palette.setColor(QPalette::ToolTipBase, back_);
        palette.setColor(QPalette::ToolTipText, fore_);
        QToolTip::setPalette(palette);
        QString html = text_.toHtmlEscaped();
        html.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
        html = QStringLiteral("<div style=\"color:%1; white-space:nowrap; max-width:%2px\">%3</div>")
                   .arg(fore_.name())
                   .arg(width_)
                   .arg(html);
        QToolTip::showText(control_->mapToGlobal(QPoint(control_->width() / 2, control_->height())), html,
                           control_, control_->rect(), visible_);
    }

    QWidget* control_;
    QString text_;
    QColor back_;
    QColor fore_;
    int width_;
    int visible_;
    QTimer timer_;
};

class ClickFilter : public QObject {
public:
    ClickFilter(QWidget* control, std::function<void()> handler)
        : QObject(control)
        , control_(control)
        , handler_(std::move(handler))
    {
        control->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            pressed_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        if (event->type() != QEvent::MouseButtonRelease)
            return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        const bool click = pressed_ && mouse->button() == Qt::LeftButton
            && control_->rect().contains(mouse->position().toPoint());
        pressed_ = false;
        if (click)
            handler_();
        return click;
    }

private:
    QWidget* control_;
    std::function<void()> handler_;
    bool pressed_ = false;
};

QList<QPointer<BalloonTip>>& balloons()
{
    static QList<QPointer<BalloonTip>> list;
    return list;
}

}  // namespace

void HookGrid(QAbstractItemView* grid)
{
    UnhookGrid(grid);
    grid->viewport()->installEventFilter(new WheelHook(grid));
}

void UnhookGrid(QAbstractItemView* grid)
{
    if (auto* hook = grid->findChild<WheelHook*>(QStringLiteral("WheelHook"), Qt::FindDirectChildrenOnly))
        delete hook;
}

void OnClick(QWidget* control, std::function<void()> handler) { new ClickFilter(control, std::move(handler)); }

void SetToolbarFont(QWidget* form, QToolBar* toolbar) { toolbar->setFont(form->font()); }

void SelectAllText(QLineEdit* box) { box->setSelection(0, static_cast<int>(box->text().size())); }

void SelectAllOnFocus(QWidget* box) { box->installEventFilter(new FocusSelectAll(box)); }

void AddBalloonTip(QWidget* control, const QString& text, const QColor& back, const QColor& fore, int maxWidth,
                   int initialDelayMs, int visibleMs, bool)
{
    balloons().append(new BalloonTip(control, text.mid(2), back, fore, maxWidth, initialDelayMs, visibleMs));
}

void DestroyBalloonTips()
{
    for (const QPointer<BalloonTip>& tip : balloons())
        delete tip.data();
    balloons().clear();
}

QString BalloonTipText(QWidget* control)
{
    for (const QPointer<BalloonTip>& tip : balloons()) {
        if (tip && tip->parent() == control)
            return tip->text();
    }
    return {};
}

void SetupDataGrid(QTableView* grid)
{
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                          | QAbstractItemView::AnyKeyPressed);
    grid->setAlternatingRowColors(true);
    grid->verticalHeader()->setDefaultSectionSize(22);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->horizontalHeader()->setSectionsClickable(true);
    // Left to itself the heading measures the widest letter of its font at every
    // column resize.
    grid->horizontalHeader()->setMinimumSectionSize(24);
}
