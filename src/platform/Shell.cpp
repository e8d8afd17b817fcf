#include "Shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include <cstdio>

namespace {

bool recording = qEnvironmentVariableIntValue("TESSARYN_SHELL_RECORD") == 1;

QStringList& opened()
{
    static QStringList list;
    return list;
}

QUrl urlOf(const QString& target)
{
    const QUrl url(target);
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    return QUrl::fromLocalFile(target);
}

}  // namespace

namespace Shell {

void Open(const QString& target)
{
    if (target.isEmpty())
        return;
    if (recording) {
        opened().append(target);
        std::fprintf(stderr, "Open: %s\n", target.toUtf8().constData());
        std::fflush(stderr);
        return;
    }
    QDesktopServices::openUrl(urlOf(target));
}

bool PdfHandlerRegistered()
{
    const QString forced = qEnvironmentVariable("TESSARYN_PDF_HANDLER");
    if (!forced.isEmpty())
        return forced == QLatin1String("1");
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QStringLiteral("application/pdf")});
    if (!query.waitForFinished(3000)) {
        query.kill();
        return false;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}

void SetRecording(bool on) { recording = on; }

const QStringList& Opened() { return opened(); }

}  // namespace Shell
