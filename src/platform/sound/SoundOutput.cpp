// The media side of the reminder sound, built as a module of its own: the program
// opens it when the sound system is first needed, so that Qt Multimedia and the
// twenty-odd audio and network libraries it brings are not loaded at every start.
#include <QAudioOutput>
#include <QCoreApplication>
#include <QMediaFormat>
#include <QMediaPlayer>
#include <QUrl>

namespace {

QMediaPlayer* media = nullptr;

}  // namespace

extern "C" {

// Sets the media back end up (on a first run it reads every plug-in of the media
// framework): asking it what it decodes loads and starts it. Safe from any thread;
// nothing connects to the audio server here.
Q_DECL_EXPORT void tessaryn_sound_prepare() { QMediaFormat().supportedFileFormats(QMediaFormat::Decode); }

// Plays a local file; the player is made once, on the interface thread.
Q_DECL_EXPORT void tessaryn_sound_play(const QString& path)
{
    if (!media) {
        media = new QMediaPlayer(qApp);
        media->setAudioOutput(new QAudioOutput(media));
    }
    media->setSource(QUrl::fromLocalFile(path));
    media->play();
}

// Stops what plays and lets go of its file.
Q_DECL_EXPORT void tessaryn_sound_stop()
{
    if (!media)
        return;
    media->stop();
    media->setSource(QUrl());
}

}  // extern "C"
