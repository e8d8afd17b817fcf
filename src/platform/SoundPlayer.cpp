#include "SoundPlayer.h"

#include "KnownFolders.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <atomic>
#include <dlfcn.h>
#include <thread>

namespace {

struct Player {
    QString started;
    bool on = false;
    bool played = false;  // the module was asked to play: only then is there anything to stop
    int generation = 0;  // a StopSound or a newer PlaySoundFile cancels a pending start
};

// True while the sound module and the back end's set-up are being readied on their
// thread: a sound waits for that rather than set the back end up at the same time
// from the interface thread.
std::atomic<bool> preparing{false};

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

// The sound module (Qt Multimedia and the audio libraries behind it), opened the
// first time it is needed: from the build tree's lib/ beside the program, or the
// install's lib/ beside bin/. Without it every sound is silent.
struct Module {
    void (*play)(const QString&) = nullptr;
    void (*stop)() = nullptr;
};

Module openModule()
{
    const QString programDir = QFileInfo(KnownFolders::ExecutablePath()).absolutePath();
    for (const char* folder : {"/lib/tessaryn/", "/../lib/tessaryn/"}) {
        const QByteArray file = QFile::encodeName(programDir + QLatin1String(folder) + QLatin1String("libtessaryn_sound.so"));
        if (void* library = dlopen(file.constData(), RTLD_NOW | RTLD_LOCAL)) {
            Module module;
            module.play = reinterpret_cast<void (*)(const QString&)>(dlsym(library, "tessaryn_sound_play"));
            module.stop = reinterpret_cast<void (*)()>(dlsym(library, "tessaryn_sound_stop"));
            if (module.play && module.stop)
                return module;
        }
    }
    return {};
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
    if (preparing) {
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
    static std::thread loader;
    if (loader.joinable() || !qApp)
        return;
    preparing = true;
    loader = std::thread([] {
        module();
        loadRegistry();
        preparing = false;
    });
    qAddPostRoutine([] { loader.join(); });
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
