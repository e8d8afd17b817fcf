#include "SoundPlayer.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

namespace {

struct Player {
    QMediaPlayer* media = nullptr;
    QAudioOutput* output = nullptr;
    QString started;
    bool on = false;
    int generation = 0;  // a StopSound or a newer PlaySoundFile cancels a pending start
};

Player& player()
{
    static Player p;
    return p;
}

void startNow(const QString& path)
{
    Player& p = player();
    if (!p.media) {
        p.media = new QMediaPlayer(qApp);
        p.output = new QAudioOutput(p.media);
        p.media->setAudioOutput(p.output);
    }
    p.media->setSource(QUrl::fromLocalFile(path));
    p.media->play();
}

}  // namespace

namespace playSound {

void PlaySoundFile(const QString& path)
{
    StopSound();
    Player& p = player();
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        p.started.clear();
        return;
    }
    p.started = path;
    p.on = true;
    const int generation = p.generation;
    QTimer::singleShot(0, qApp, [path, generation] {
        if (player().generation == generation)
            startNow(path);
    });
}

void StopSound()
{
    Player& p = player();
    ++p.generation;
    p.on = false;
    if (p.media) {
        p.media->stop();
        p.media->setSource(QUrl());
    }
}

QString LastStarted() { return player().started; }

bool IsOn() { return player().on; }

}  // namespace playSound
