#include "SoundPlayer.h"

#include "ProgramModule.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <functional>
#include <utility>

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
    Player& p = player();
    if (p.generation != generation)
        return;
    p.played = true;
    if (module().play)
        module().play(path);
}

// Starting the player (making it, with the first sound) takes the interface thread
// for a while: the window the sound comes with gets its first picture before. One
// that gets none soon (a lock screen covers it) keeps its sound waiting no longer
// than this.
constexpr int FirstPictureLimitMs = 500;

class FirstPicture : public QObject {
public:
    FirstPicture(QWindow* window, std::function<void()> then)
        : QObject(window)
        , then_(std::move(then))
    {
        window->installEventFilter(this);
        QTimer::singleShot(FirstPictureLimitMs, this, [this] { done(); });
    }
    // A window gone first lets its sound go on (its close has stopped it, if it did).
    ~FirstPicture() override { fire(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed())
            done();
        return false;
    }

private:
    void done()
    {
        fire();
        deleteLater();
    }

    // On a later turn, once the picture is drawn.
    void fire()
    {
        if (then_)
            QTimer::singleShot(0, qApp, std::exchange(then_, nullptr));
    }

    std::function<void()> then_;
};

void begin(const QString& path, int generation, const QPointer<QWidget>& window)
{
    if (player().generation != generation)
        return;
    if (backend().state != Backend::Made) {
        QObject::connect(
            &backend(), &Backend::made, qApp, [path, generation, window] { begin(path, generation, window); },
            Qt::SingleShotConnection);
        return;
    }
    QWindow* handle = window && window->isVisible() ? window->windowHandle() : nullptr;
    if (handle && !handle->isExposed())
        new FirstPicture(handle, [path, generation] { startNow(path, generation); });
    else
        startNow(path, generation);
}

}  // namespace

namespace playSound {

void PlaySoundFile(const QString& path, QWidget* window)
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
    QTimer::singleShot(0, qApp, [path, generation, window = QPointer<QWidget>(window)] {
        begin(path, generation, window);
    });
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
