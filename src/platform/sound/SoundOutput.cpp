// The media side of the reminder sound, built as a module of its own: the program
// opens it when the sound system is first needed, so that Qt Multimedia and the
// twenty-odd audio and network libraries it brings are not loaded at every start.
// Called on the interface thread only: every object made here lives on it.
#include <QAudioOutput>
#include <QCoreApplication>
#include <QMediaPlayer>
#include <QUrl>

namespace {

QMediaPlayer* media = nullptr;

}  // namespace

extern "C" {

// Makes the player and its audio output. The first player makes Qt Multimedia's back
// end: on a first run that reads every plug-in of the media framework; it connects to
// the audio server, where one runs, for its list of devices, and the framework starts
// its device monitor and the player's streaming thread, which stay for the whole run.
Q_DECL_EXPORT void tessaryn_sound_prepare()
{
    if (media)
        return;
    media = new QMediaPlayer(qApp);
    media->setAudioOutput(new QAudioOutput(media));
}

// Plays a local file on the player made above.
Q_DECL_EXPORT void tessaryn_sound_play(const QString& path)
{
    if (!media)
        return;
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
