#include "SoundPlayer.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

#include <dlfcn.h>
#include <thread>

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

// The media back end's own set-up, which scans every plug-in on a first run. It is
// safe from any thread and done once; the back end's later call returns at once.
void loadRegistry()
{
    void* library = dlopen("libgstreamer-1.0.so.0", RTLD_NOW | RTLD_GLOBAL);
    if (!library)
        return;
    using Init = int (*)(int*, char***, void**);
    if (auto init = reinterpret_cast<Init>(dlsym(library, "gst_init_check")))
        init(nullptr, nullptr, nullptr);
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

void Prepare()
{
    static std::thread loader;
    if (loader.joinable() || !qApp)
        return;
    loader = std::thread(loadRegistry);
    qAddPostRoutine([] { loader.join(); });
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
