#pragma once

#include "RemWindowSettings.h"
#include "platform/Form.h"

#include <QColor>

#include <array>
#include <memory>

class cTabStripPane;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QTabWidget;

// The reminder-window options: colours, sound, blinking title, fade-in and the
// final opacity, kept in options.ini [RemWindow]. Modal; OK writes every key at
// once, Cancel and Esc write nothing.
class frmOptions : public Form {
    Q_OBJECT
public:
    frmOptions();
    ~frmOptions() override;

    void Form_Load() override;

    // The colour dialog for swatch 0 (background), 1 (main text) or 2 (second text).
    void ChangeColour(int swatch);
    void cmdMusic_Click();
    void cmdMusicRemove_Click();
    // Preset 0 to 5: "50%" to "100%".
    void Preset_Click(int index);
    void cmdOK_Click();
    void cmdCancel_Click();

    QColor Colour(int swatch) const { return colours_[swatch]; }
    // What OK would store.
    RemWindowSettings Chosen() const;

    QTabWidget* tbsOptions = nullptr;
    std::array<QWidget*, 2> picOptions{};
    std::unique_ptr<cTabStripPane> TabPane;
    std::array<QLabel*, 3> Swatch{};
    std::array<QPushButton*, 3> cmdColour{};
    QLabel* lblMusicPath = nullptr;   // hidden: the sound's full path
    QLabel* lblMusicTitle = nullptr;  // the sound's file name
    QPushButton* cmdMusic = nullptr;
    QPushButton* cmdMusicRemove = nullptr;
    QSlider* Slider1 = nullptr;       // opacity level, 25 to 50
    std::array<QLabel*, 6> Preset{};
    QCheckBox* chkBlink = nullptr;
    QCheckBox* chkFade = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LoadSettings();
    void ApplyLanguage();
    void setColour(int swatch, const QColor& colour);

    std::array<QColor, 3> colours_;
    QGroupBox* groupGeneral_ = nullptr;
    QGroupBox* groupLook_ = nullptr;
    QGroupBox* groupEffects_ = nullptr;
    QLabel* captionColours_ = nullptr;
    std::array<QLabel*, 3> captionSwatch_{};
    QLabel* captionSound_ = nullptr;
    QLabel* captionOpacity_ = nullptr;
};
