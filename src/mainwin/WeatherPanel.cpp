#include "WeatherPanel.h"

#include "core/SourceText.h"
#include "core/WindowHelpers.h"

#include "frmWeather.h"
#include "core/Fatal.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/frmProcess.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/MsgBox.h"
#include "platform/Web.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>

#include <utility>

namespace {

QString periodCaption(const ForecastPeriod& period)
{
    return period.date + s(" (") + GetLangText(PeriodKey(period.hour)) + s(")");
}

}  // namespace

WeatherPanel::WeatherPanel(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(s("WeatherPanel"));
    setFixedSize(Px(3000), Px(2700));

    Combo3 = new QComboBox(this);
    Combo3->setObjectName(s("Combo3"));
    Place(Combo3, 0, 0, 3000, 345);
    connect(Combo3, &QComboBox::currentIndexChanged, this, &WeatherPanel::Combo3_Click);

    Image2 = MakeControl<QLabel>(this, "Image2", 60, 480, 720, 720);
    Image2->setAlignment(Qt::AlignCenter);

    Label3 = MakeControl<QLabel>(this, "Label3", 900, 480, 2100, 450);
    QFont big = Label3->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    Label3->setFont(big);
    OnClick(Label3, [this] { Label3_Click(); });

    Label4 = MakeControl<QLabel>(this, "Label4", 900, 945, 2100, 300);
    Label13 = MakeControl<QLabel>(this, "Label13", 60, 1380, 2940, 285);
    Label14 = MakeControl<QLabel>(this, "Label14", 60, 1665, 2940, 285);
    Label15 = MakeControl<QLabel>(this, "Label15", 60, 1950, 2940, 285);

    Image3 = MakeControl<QLabel>(this, "Image3", 2640, 2340, 360, 360);
    Image3->setPixmap(ToolbarIcon(s("options")).pixmap(Px(360), Px(360)));
    Image3->setCursor(Qt::PointingHandCursor);
    OnClick(Image3, [this] { Image3_Click(); });

    Picture3 = new QFrame(this);
    Picture3->setObjectName(s("Picture3"));
    Picture3->setFrameShape(QFrame::StyledPanel);
    Picture3->setAutoFillBackground(true);
    Place(Picture3, 0, 0, 3000, 2700);
    Label5 = MakeControl<QLabel>(Picture3, "Label5", 150, 540, 2700, 900);
    Label5->setAlignment(Qt::AlignCenter);
    Label5->setWordWrap(true);
    Command2 = new QPushButton(Picture3);
    Command2->setObjectName(s("Command2"));
    Place(Command2, 450, 1560, 2100, 420);
    connect(Command2, &QPushButton::clicked, this, &WeatherPanel::Command2_Click);
    Picture3->raise();
}

void WeatherPanel::GetWeather5days()
{
    frmProcess& process = Forms::Get<frmProcess>();
    process.LastWeatherUpdate = Clock::TickNow();
    if (!HasWeatherCity(process.WeatherCityId)) {
        delete download_.data();
        clearForecast();
        showHint();
        return;
    }
    const QString url = ForecastUrl(process.WeatherCityId);
    if (IsLoading() && download_->Url() == url)
        return;
    delete download_.data();
    download_ = new Web::Download(url, this);
    connect(download_, &Web::Download::finished, this, &WeatherPanel::showAnswer);
}

bool WeatherPanel::IsLoading() const { return download_ && download_->IsRunning(); }

void WeatherPanel::showAnswer(const QByteArray& answer, bool ok)
{
    QList<ForecastPeriod> periods = ok ? ParseForecast(answer, &ok) : QList<ForecastPeriod>();
    clearForecast();
    if (!ok || periods.size() < 2) {
        showHint();
        return;
    }
    periods_ = std::move(periods);
    {
        const QSignalBlocker blocker(Combo3);
        for (const ForecastPeriod& period : std::as_const(periods_))
            Combo3->addItem(periodCaption(period), period.position);
        Combo3->setCurrentIndex(1);
    }
    if (!showPeriod(periods_.at(1))) {
        clearForecast();
        showHint();
        return;
    }
    shownEntry_ = 1;
    Picture3->hide();
}

void WeatherPanel::ShowForecast(int index)
{
    const ForecastPeriod* period = entryPeriod(index);
    if (period && showPeriod(*period)) {
        shownEntry_ = index;
        return;
    }
    const QPointer<WeatherPanel> self(this);
    MsgBox(GetLangText(s("mes310")), 48, ProductName());
    if (!self)
        return;
    // The list goes back to the period the panel shows.
    const QSignalBlocker blocker(Combo3);
    Combo3->setCurrentIndex(shownEntry_);
}

void WeatherPanel::ApplyLanguage()
{
    Label5->setText(GetLangText(s("mes311")));
    Command2->setText(GetLangText(s("mes312")));
    Image3->setToolTip(GetLangText(s("mes312")));
    for (int i = 0; i < Combo3->count(); ++i) {
        if (const ForecastPeriod* period = entryPeriod(i))
            Combo3->setItemText(i, periodCaption(*period));
    }
    if (const ForecastPeriod* period = entryPeriod(shownEntry_))
        showPeriod(*period);
}

void WeatherPanel::Combo3_Click()
{
    if (Combo3->currentIndex() >= 0)
        ShowForecast(Combo3->currentIndex());
}

void WeatherPanel::Command2_Click() { openSetup(); }

void WeatherPanel::Image3_Click() { openSetup(); }

void WeatherPanel::Label3_Click() { emit todayRequested(); }

const ForecastPeriod* WeatherPanel::entryPeriod(int index) const
{
    if (index < 0 || index >= Combo3->count())
        return nullptr;
    bool ok = false;
    const int position = Combo3->itemData(index).toInt(&ok);
    for (const ForecastPeriod& period : periods_) {
        if (ok && period.position == position)
            return &period;
    }
    return nullptr;
}

bool WeatherPanel::showPeriod(const ForecastPeriod& period)
{
    const QPixmap picture = WeatherPicture(period.pict);
    const bool fahrenheit = Forms::Get<frmProcess>().WeatherTempId == QLatin1String("F");
    QString temperature;
    if (picture.isNull() || !TemperatureText(period.tMin, period.tMax, fahrenheit, &temperature))
        return false;

    Image2->setPixmap(picture);
    Label3->setText(temperature);
    Label13->setText(GetLangText(s("mes319")) + s(": ") + period.windMin + s("-") + period.windMax + s(" ")
                     + GetLangText(s("mes322")));
    Label14->setText(GetLangText(s("mes320")) + s(": ") + period.pMin + s("-") + period.pMax);
    Label15->setText(GetLangText(s("mes321")) + s(": ") + period.hmidMin + s("-") + period.hmidMax);
    Label4->setText(s("~") + period.wpi + s("%"));
    return true;
}

void WeatherPanel::clearForecast()
{
    {
        const QSignalBlocker blocker(Combo3);
        Combo3->clear();
    }
    periods_.clear();
    shownEntry_ = -1;
    Image2->clear();
    for (QLabel* text : {Label3, Label4, Label13, Label14, Label15})
        text->clear();
}

void WeatherPanel::showHint()
{
    Picture3->show();
    Picture3->raise();
}

void WeatherPanel::openSetup()
{
    Form* owner = qobject_cast<Form*>(window());
    Forms::Get<frmWeather>().ShowModal(owner);
}
