#include "ContactLinks.h"

#include <QRegularExpression>
#include <QUrl>

QString MailLink(const QString& address)
{
    return QStringLiteral("mailto:") + QString::fromLatin1(QUrl::toPercentEncoding(address.trimmed(), "@+"));
}

QString WebLink(const QString& typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty() || text.startsWith(QLatin1Char('/')) || text.startsWith(QLatin1Char('\\'))
        || text.startsWith(QLatin1Char('.')) || text.startsWith(QLatin1Char('~')))
        return {};
    // "host:8080" names a port, not a scheme.
    static const QRegularExpression schemeForm(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):(?!\\d)"));
    const QRegularExpressionMatch scheme = schemeForm.match(text);
    QString address = text;
    if (!scheme.hasMatch()) {
        address = QStringLiteral("http://") + text;
    } else {
        const QString name = scheme.captured(1).toLower();
        if (name != QLatin1String("http") && name != QLatin1String("https") && name != QLatin1String("ftp"))
            return {};
    }
    const QUrl url(address, QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty())
        return {};
    return url.toString(QUrl::FullyEncoded);
}
