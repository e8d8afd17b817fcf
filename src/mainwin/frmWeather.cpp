#include "frmWeather.h"

#include "WeatherForecast.h"
#include "WeatherPanel.h"
#include "core/Fatal.h"
#include "core/LanguageCodes.h"
#include "core/OpenURL.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/SourceText.h"
#include "core/WindowHelpers.h"
#include "core/clsINI.h"
#include "core/frmProcess.h"
#include "mainwin/frmMain.h"
#include "platform/Controls.h"
#include "platform/MsgBox.h"
#include "platform/Web.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>

frmWeather::frmWeather()
    : Form(s("frmWeather"), DialogWindow)
{
    setFixedSize(Px(5700), Px(4200));

    Label5 = MakeControl<QLabel>(this, "Label5", 240, 180, 4440, 375);
    QFont heading = Label5->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.25);
    Label5->setFont(heading);

    Image2 = MakeControl<QLabel>(this, "Image2", 4800, 120, 720, 720);
    Image2->setPixmap(WeatherPicture(s("_1_sun_cl.gif")));
    Image2->setCursor(Qt::PointingHandCursor);
    Image2->setToolTip(WeatherServicePage());
    OnClick(Image2, [this] { Image2_Click(); });

    Label12 = MakeControl<QLabel>(this, "Label12", 240, 600, 4440, 780);
    Label12->setWordWrap(true);
    Label12->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Frame2 = MakeControl<QGroupBox>(this, "Frame2", 240, 1500, 5220, 1440);
    Text1 = MakeControl<QLineEdit>(Frame2, "Text1", 180, 390, 3480, 375);
    Command1 = MakeControl<QPushButton>(Frame2, "Command1", 3780, 360, 1260, 435);
    Combo1 = MakeControl<QComboBox>(Frame2, "Combo1", 180, 900, 4860, 375);
    Combo2 = MakeControl<QComboBox>(Frame2, "Combo2", 180, 900, 4860, 375);
    Combo1->hide();
    Combo2->hide();
    connect(Text1, &QLineEdit::returnPressed, this, &frmWeather::Command1_Click);
    connect(Command1, &QPushButton::clicked, this, &frmWeather::Command1_Click);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &frmWeather::Combo1_Click);

    Check1 = MakeControl<QCheckBox>(this, "Check1", 240, 3120, 3600, 330);
    Command3 = MakeControl<QPushButton>(this, "Command3", 2940, 3600, 1200, 435);
    Command2 = MakeControl<QPushButton>(this, "Command2", 4260, 3600, 1200, 435);
    Command3->setEnabled(false);
    connect(Command3, &QPushButton::clicked, this, &frmWeather::Command3_Click);
    connect(Command2, &QPushButton::clicked, this, &frmWeather::Command2_Click);
    SetCancelButton(Command2);
}

void frmWeather::Form_Load()
{
    SetFormIcon(this, s("RES_0"), false);
    setWindowTitle(GetLangText(s("mes305")));
    Label5->setText(GetLangText(s("mes305")));
    Label12->setText(GetLangText(s("mes306")));
    Frame2->setTitle(GetLangText(s("mes307")) + s(":"));
    Command1->setText(GetLangText(s("mes308")));
    Check1->setText(GetLangText(s("mes309")) + s(" - ° F"));
    Command3->setText(s("OK"));
    Command2->setText(GetLangText(s("cmd2")));

    // The stored city is offered only whole: a name without its id cannot be stored
    // again, nor an id without its name.
    const QString id = NoNul(ReadOption(s("General"), s("wcityid")));
    const QString name = NoNul(ReadOption(s("General"), s("wcityname")));
    if (!id.isEmpty() && !name.isEmpty()) {
        addCity(name, id);
        showCities();
    }
    Check1->setChecked(NoNul(ReadOption(s("General"), s("wtempid"))) == QLatin1String("F"));
    updateOk();
}

void frmWeather::Command1_Click()
{
    const QString text = Text1->text().trimmed();
    if (text.isEmpty()) {
        MsgBox(GetLangText(s("mes134")) + s("!"), 48, ProductName());
        return;
    }
    clearCities();
    Command1->setEnabled(false);

    const QString url = CitySearchUrl(text, LanguageCode(Forms::Get<frmProcess>().LanguageName));
    delete search_.data();
    search_ = new Web::Download(url, this);
    connect(search_, &Web::Download::finished, this, &frmWeather::showSearchAnswer);
    setCursor(Qt::BusyCursor);
}

void frmWeather::showSearchAnswer(const QByteArray& answer, bool ok)
{
    unsetCursor();
    const QList<FoundCity> cities = ok ? ParseCities(answer, &ok) : QList<FoundCity>();
    for (const FoundCity& city : cities)
        addCity(city.Entry(), city.id);
    showCities();
    Command1->setEnabled(true);
    if (!ok)
        MsgBox(GetLangText(s("mes333")), 48, ProductName());
}

void frmWeather::Form_Unload() { delete search_.data(); }

void frmWeather::Combo1_Click()
{
    Combo2->setCurrentIndex(Combo1->currentIndex());
    updateOk();
}

void frmWeather::Command3_Click()
{
    if (Combo1->currentIndex() < 0 || Combo2->currentIndex() != Combo1->currentIndex())
        return;
    const QString name = Combo1->currentText();
    const QString id = Combo2->currentText();
    const QString unit = Check1->isChecked() ? s("F") : s("C");
    if (!WriteOptions(s("General"), {{s("wcityname"), name}, {s("wcityid"), id}, {s("wtempid"), unit}})) {
        MsgBox(GetLangText(s("mes395")), 48, ProductName());
        return;
    }
    frmProcess& process = Forms::Get<frmProcess>();
    process.WeatherCityName = name;
    process.WeatherCityId = id;
    process.WeatherTempId = unit;

    const QPointer<frmWeather> self(this);
    Forms::Get<frmMain>().GetWeather5days();
    if (self)
        Forms::Unload(this);
}

void frmWeather::Command2_Click() { Forms::Unload(this); }

void frmWeather::Image2_Click() { OpenURL(WeatherServicePage()); }

void frmWeather::addCity(const QString& entry, const QString& id)
{
    const QSignalBlocker blocker1(Combo1);
    const QSignalBlocker blocker2(Combo2);
    Combo1->addItem(entry);
    Combo2->addItem(id);
}

void frmWeather::showCities()
{
    if (Combo1->count() == 0) {
        Combo1->hide();
        updateOk();
        return;
    }
    Combo1->show();
    {
        const QSignalBlocker blocker(Combo1);
        Combo1->setCurrentIndex(-1);
    }
    // Selecting runs Combo1's click: Combo2 follows and OK is enabled.
    Combo1->setCurrentIndex(0);
}

void frmWeather::clearCities()
{
    const QSignalBlocker blocker1(Combo1);
    const QSignalBlocker blocker2(Combo2);
    Combo1->clear();
    Combo2->clear();
    Combo1->hide();
    updateOk();
}

void frmWeather::updateOk()
{
    Command3->setEnabled(Combo1->currentIndex() >= 0 && Combo2->currentIndex() == Combo1->currentIndex());
}
