#include "Web.h"

#include <QUrl>

#include <curl/curl.h>

namespace {

long connectLimitMs = 5000;
long totalLimitMs = 15000;

struct Body {
    QByteArray data;
    qint64 cap = 0;
    bool overCap = false;
};

size_t collect(char* ptr, size_t size, size_t count, void* userData)
{
    auto* body = static_cast<Body*>(userData);
    const size_t bytes = size * count;
    if (body->data.size() + static_cast<qint64>(bytes) > body->cap) {
        body->overCap = true;
        return 0;
    }
    body->data.append(ptr, static_cast<qsizetype>(bytes));
    return bytes;
}

void initCurlOnce()
{
    static const bool done = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)done;
}

QString encode(const QString& text, const QByteArray& keep)
{
    return QString::fromLatin1(text.toUtf8().toPercentEncoding(keep));
}

}  // namespace

namespace Web {

QByteArray DownloadBytes(const QString& url, bool* ok, qint64 bodyCap)
{
    if (ok)
        *ok = false;
    const QUrl parsed(url, QUrl::StrictMode);
    if (!parsed.isValid() || (parsed.scheme() != QLatin1String("http") && parsed.scheme() != QLatin1String("https")))
        return {};

    initCurlOnce();
    CURL* curl = curl_easy_init();
    if (!curl)
        return {};

    Body body;
    body.cap = bodyCap;
    const QByteArray address = parsed.toEncoded();
    curl_slist* headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
    headers = curl_slist_append(headers, "Pragma: no-cache");

    curl_easy_setopt(curl, CURLOPT_URL, address.constData());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Tessaryn/3.30");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, connectLimitMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, totalLimitMs);
    curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);

    const CURLcode result = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);

    if (result != CURLE_OK || body.overCap || status < 200 || status > 299)
        return {};
    if (ok)
        *ok = true;
    return body.data;
}

QString DownloadText(const QString& url) { return QString::fromUtf8(DownloadBytes(url)); }

QString EncodeQuery(const QString& text)
{
    QString encoded = encode(text, QByteArrayLiteral(" "));
    encoded.replace(QLatin1Char(' '), QLatin1Char('+'));
    return encoded;
}

QString EncodePathSegment(const QString& text) { return encode(text, QByteArray()); }

void SetTimeLimits(long connectMs, long totalMs)
{
    connectLimitMs = connectMs > 0 ? connectMs : 5000;
    totalLimitMs = totalMs > 0 ? totalMs : 15000;
}

}  // namespace Web
