#include "SoundPlayer.h"

#include "ProgramModule.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

#include <dlfcn.h>

namespace {

struct Player {
    QString started;
    bool on = false;
    bool played = false;  // the module was asked to play: only then is there anything to stop
    int generation = 0;  // a StopSound or a newer PlaySoundFile cancels a pending start
};

Player& player()
{
    static Player p;
    return p;
}

// The media back end, made once on the interface thread; the sounds asked for before
// it is made wait for its signal.
class Backend : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    enum State { None, Asked, Made };
    State state = None;

signals:
    void made();
};

Backend& backend()
{
    static Backend* b = new Backend(qApp);
    return *b;
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

void makeBackend()
{
    if (module().prepare)
        module().prepare();
    backend().state = Backend::Made;
    emit backend().made();
}

void startNow(const QString& path, int generation)
{
    if (player().generation != generation)
        return;
    if (backend().state != Backend::Made) {
        QObject::connect(
            &backend(), &Backend::made, qApp, [path, generation] { startNow(path, generation); },
            Qt::SingleShotConnection);
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
    if (backend().state != Backend::None || !qApp)
        return;
    backend().state = Backend::Asked;
    // Once the events that wait now have been handled.
    QTimer::singleShot(0, qApp, &makeBackend);
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

#include "SoundPlayer.moc"
