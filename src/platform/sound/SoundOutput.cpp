// The media side of the reminder sound, built as a module of its own: the program
// opens it when the sound system is first needed, so that Qt Multimedia and the
// twenty-odd audio and network libraries it brings are not loaded at every start.
#include <QAudioOutput>
#include <QCoreApplication>
#include <QMediaPlayer>
#include <QUrl>

namespace {

QMediaPlayer* media = nullptr;

}  // namespace

extern "C" {

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
