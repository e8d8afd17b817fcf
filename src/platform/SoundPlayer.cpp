#include "SoundPlayer.h"

#include "ProgramModule.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <dlfcn.h>

namespace {

struct Player {
    QString started;
    bool on = false;
    bool played = false;  // the module was asked to play: only then is there anything to stop
    int generation = 0;  // a StopSound or a newer PlaySoundFile cancels a pending start
};

// The sound module and the media back end's first set-up (on a first run it reads
// every plug-in of the media framework) are readied on a thread of their own: a sound
// asked for before they are ready waits for them rather than set them up on the
// interface thread, where that would hold up the reminder the sound comes with.
std::atomic<bool> ready{false};
QThread* preparation = nullptr;

Player& player()
{
    static Player p;
    return p;
}

// The sound module (Qt Multimedia and the audio libraries behind it), opened the
// first time it is needed. Without it every sound is silent.
struct Module {
    void (*prepare)() = nullptr;
    void (*play)(const QString&) = nullptr;
    void (*stop)() = nullptr;
};

Module openModule()
{
    void* library = OpenProgramModule("libtessaryn_sound.so");
    if (!library)
        return {};
    Module module;
    module.prepare = reinterpret_cast<void (*)()>(dlsym(library, "tessaryn_sound_prepare"));
    module.play = reinterpret_cast<void (*)(const QString&)>(dlsym(library, "tessaryn_sound_play"));
    module.stop = reinterpret_cast<void (*)()>(dlsym(library, "tessaryn_sound_stop"));
    return module.prepare && module.play && module.stop ? module : Module();
}

const Module& module()
{
    static const Module opened = openModule();
    return opened;
}

void startNow(const QString& path, int generation)
{
    if (player().generation != generation)
        return;
    if (!ready) {
        playSound::Prepare();
        QTimer::singleShot(50, qApp, [path, generation] { startNow(path, generation); });
        return;
    }
    player().played = true;
    if (module().play)
        module().play(path);
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
    QTimer::singleShot(0, qApp, [path, generation] { startNow(path, generation); });
}

void Prepare()
{
    if (preparation || !qApp)
        return;
    preparation = QThread::create([] {
        if (module().prepare)
            module().prepare();
        ready = true;
    });
    preparation->start();
    if (!preparation->isRunning() && !preparation->isFinished())
        ready = true;  // no thread to spare: the first sound sets the back end up itself
    qAddPostRoutine([] {
        preparation->wait();
        delete preparation;
    });
}

void StopSound()
{
    Player& p = player();
    ++p.generation;
    p.on = false;
    if (p.played && module().stop)
        module().stop();
}

QString LastStarted() { return player().started; }

bool IsOn() { return player().on; }

}  // namespace playSound
