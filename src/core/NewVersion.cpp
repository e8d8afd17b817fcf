#include "NewVersion.h"

#include "Fatal.h"
#include "OpenURL.h"
#include "Options.h"
#include "XMLParser.h"
#include "platform/Clock.h"
#include "platform/MsgBox.h"
#include "platform/Web.h"

namespace {

QString siteBase()
{
    const QString overridden = qEnvironmentVariable("TESSARYN_SITE_BASE");
    return overridden.isEmpty() ? QStringLiteral("http://www.kelmarosoft.com/") : overridden;
}

}  // namespace

QString VersionFileUrl() { return siteBase() + QStringLiteral("tessaryn/tsversion.txt"); }

QString HomePageUrl() { return siteBase() + GetSiteZone(); }

long long VersionNumber(const QString& text)
{
    QString digits = text.trimmed();
    digits.remove(QLatin1Char('.'));
    long long number = 0;
    for (QChar c : digits) {
        if (c.unicode() < '0' || c.unicode() > '9' || number > 1'000'000'000'000LL)
            break;
        number = number * 10 + (c.unicode() - '0');
    }
    return number;
}

bool IsUpdateCheckDay(const QDate& day)
{
    const int d = day.day();
    return d == 3 || d == 12 || d == 21 || d == 28;
}

bool IsNewerVersion(const QString& local, const QString& remote)
{
    const long long l = VersionNumber(local);
    const long long r = VersionNumber(remote);
    return l != 0 && r != 0 && r > l;
}

void CheckForUpdate()
{
    if (!IsUpdateCheckDay(Clock::Today()))
        return;
    const QString local = ReadMainXml(QStringLiteral("Version"));
    const QString remote = Web::DownloadText(VersionFileUrl());
    if (!IsNewerVersion(local, remote))
        return;
    if (MsgBox(GetLangText(QStringLiteral("mes292")), 68, ProductName()) == vbYes)
        OpenURL(HomePageUrl());
}
