#include "NewVersion.h"

#include "Fatal.h"
#include "MLock.h"
#include "OpenURL.h"
#include "Options.h"
#include "XMLParser.h"
#include "events/frmWindow.h"
#include "platform/Clock.h"
#include "platform/MsgBox.h"
#include "platform/Web.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTimer>

#include <algorithm>

namespace {

QString siteBase()
{
    const QString overridden = qEnvironmentVariable("TESSARYN_SITE_BASE");
    return overridden.isEmpty() ? QStringLiteral("http://www.kelmarosoft.com/") : overridden;
}

// The parts of a version text without their leading zeros ("0" becomes ""); an empty
// list when the text is not a version.
QStringList versionParts(const QString& text)
{
    const QString version = VersionText(text);
    if (version.isEmpty())
        return {};
    QStringList parts = version.split(QLatin1Char('.'));
    for (QString& part : parts) {
        qsizetype zeros = 0;
        while (zeros < part.size() && part.at(zeros) == QLatin1Char('0'))
            ++zeros;
        part.remove(0, zeros);
    }
    return parts;
}

bool hasNonZeroPart(const QStringList& parts)
{
    return std::any_of(parts.cbegin(), parts.cend(), [](const QString& part) { return !part.isEmpty(); });
}

// Two parts without leading zeros: the longer number is the greater one.
int comparePart(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

}  // namespace

QString VersionFileUrl() { return siteBase() + QStringLiteral("tessaryn/tsversion.txt"); }

QString HomePageUrl() { return siteBase() + GetSiteZone(); }

QString VersionText(const QString& text)
{
    QString version = text.trimmed();
    if (version.startsWith(QChar(0xFEFF)))
        version = version.mid(1).trimmed();
    const QStringList parts = version.split(QLatin1Char('.'));
    for (const QString& part : parts) {
        if (part.isEmpty())
            return {};
        for (QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return {};
        }
    }
    return version;
}

bool IsVersion(const QString& text) { return hasNonZeroPart(versionParts(text)); }

bool IsNewerVersion(const QString& local, const QString& remote)
{
    const QStringList l = versionParts(local);
    const QStringList r = versionParts(remote);
    if (!hasNonZeroPart(l) || !hasNonZeroPart(r))
        return false;
    for (qsizetype i = 0; i < std::max(l.size(), r.size()); ++i) {
        if (const int order = comparePart(r.value(i), l.value(i)); order != 0)
            return order > 0;
    }
    return false;
}

bool IsUpdateCheckDay(const QDate& day)
{
    const int d = day.day();
    return d == 3 || d == 12 || d == 21 || d == 28;
}

bool AutoUpdateCheck()
{
    return ReadOption(QStringLiteral("Update"), QStringLiteral("auto")).trimmed() == QLatin1String("1");
}

namespace {

// From the start of the check until its question is answered or it ends silently.
bool updateCheckPending = false;
// A newer version was found: the question waits for its turn.
bool questionWaiting = false;

bool somethingInTheWay() { return IsDialogActive() || CurrentReminderStage() != ReminderStage::Idle; }

void askForUpdate()
{
    if (somethingInTheWay()) {
        questionWaiting = true;
        return;
    }
    const int answer = MsgBoxUnrequested(GetLangText(QStringLiteral("mes292")), 68, ProductName());
    // Withdrawn for a reminder: asked again once nothing is in the way.
    if (answer == 0) {
        questionWaiting = true;
        return;
    }
    updateCheckPending = false;
    if (answer == vbYes)
        OpenURL(HomePageUrl());
}

}  // namespace

void CheckForUpdate()
{
    if (updateCheckPending || !IsUpdateCheckDay(Clock::Today()) || !AutoUpdateCheck())
        return;
    updateCheckPending = true;
    const QString local = ReadMainXml(QStringLiteral("Version"));
    auto* download = new Web::Download(VersionFileUrl(), qApp);
    QObject::connect(download, &Web::Download::finished, qApp, [local](const QByteArray& answer) {
        if (IsNewerVersion(local, QString::fromUtf8(answer)))
            questionWaiting = true;
        else
            updateCheckPending = false;
    });
}

void AskWaitingUpdateQuestion()
{
    if (!questionWaiting || somethingInTheWay())
        return;
    questionWaiting = false;
    // Outside the caller's turn: the dispatcher's ticks go on while the question is up.
    QTimer::singleShot(0, qApp, &askForUpdate);
}

bool UpdateCheckPending() { return updateCheckPending; }
