// The media side of the reminder sound, built as a module of its own: the program
// opens it when the sound system is first needed, so that Qt Multimedia and the
// twenty-odd audio and network libraries it brings are not loaded at every start.
// Called on the interface thread only: every object made here lives on it.
#include <QAudioOutput>
#include <QCoreApplication>
#include <QMediaFormat>
#include <QMediaPlayer>
#include <QUrl>

namespace {

QMediaPlayer* media = nullptr;

}  // namespace

extern "C" {

// Makes Qt Multimedia's back end by asking it what it decodes: on a first run that
// reads every plug-in of the media framework; it connects to the audio server, where
// one runs, for its list of devices, and the framework starts its device monitor,
// whose thread stays for the whole run.
Q_DECL_EXPORT void tessaryn_sound_prepare() { QMediaFormat().supportedFileFormats(QMediaFormat::Decode); }

// Plays a local file; the player is made with the first sound (its streaming thread
// then stays too).
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
