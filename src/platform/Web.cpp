#include "Web.h"

#include <QUrl>

#include <curl/curl.h>
#include <dlfcn.h>

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

// The transfer library and the two dozen it pulls in are loaded at the first
// download, not at every start.
struct Curl {
    decltype(&curl_global_init) globalInit = nullptr;
    decltype(&curl_easy_init) init = nullptr;
    decltype(&curl_easy_setopt) setopt = nullptr;
    decltype(&curl_easy_perform) perform = nullptr;
    decltype(&curl_easy_getinfo) getinfo = nullptr;
    decltype(&curl_easy_cleanup) cleanup = nullptr;
    decltype(&curl_slist_append) slistAppend = nullptr;
    decltype(&curl_slist_free_all) slistFreeAll = nullptr;
};

template <class F>
void bind(void* library, const char* name, F* function)
{
    *function = reinterpret_cast<F>(dlsym(library, name));
}

Curl loadCurl()
{
    Curl api;
    void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return api;
    bind(library, "curl_global_init", &api.globalInit);
    bind(library, "curl_easy_init", &api.init);
    bind(library, "curl_easy_setopt", &api.setopt);
    bind(library, "curl_easy_perform", &api.perform);
    bind(library, "curl_easy_getinfo", &api.getinfo);
    bind(library, "curl_easy_cleanup", &api.cleanup);
    bind(library, "curl_slist_append", &api.slistAppend);
    bind(library, "curl_slist_free_all", &api.slistFreeAll);
    const bool complete = api.globalInit && api.init && api.setopt && api.perform && api.getinfo && api.cleanup
                          && api.slistAppend && api.slistFreeAll;
    if (!complete || api.globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        return {};
    return api;
}

// Null members when the library is missing: every download then fails.
const Curl& curlApi()
{
    static const Curl api = loadCurl();
    return api;
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

    const Curl& api = curlApi();
    if (!api.init)
        return {};
    CURL* curl = api.init();
    if (!curl)
        return {};

    Body body;
    body.cap = bodyCap;
    const QByteArray address = parsed.toEncoded();
    curl_slist* headers = api.slistAppend(nullptr, "Cache-Control: no-cache");
    headers = api.slistAppend(headers, "Pragma: no-cache");

    api.setopt(curl, CURLOPT_URL, address.constData());
    api.setopt(curl, CURLOPT_HTTPHEADER, headers);
    api.setopt(curl, CURLOPT_USERAGENT, "Tessaryn/3.30");
    api.setopt(curl, CURLOPT_NOSIGNAL, 1L);
    api.setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    api.setopt(curl, CURLOPT_MAXREDIRS, 5L);
    api.setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    api.setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    api.setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, connectLimitMs);
    api.setopt(curl, CURLOPT_TIMEOUT_MS, totalLimitMs);
    api.setopt(curl, CURLOPT_FORBID_REUSE, 1L);
    api.setopt(curl, CURLOPT_WRITEFUNCTION, collect);
    api.setopt(curl, CURLOPT_WRITEDATA, &body);

    const CURLcode result = api.perform(curl);
    long status = 0;
    api.getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    api.slistFreeAll(headers);
    api.cleanup(curl);

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
