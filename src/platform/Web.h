#pragma once

#include <QByteArray>
#include <QString>

// Blocking downloads over HTTP(S). Every request bypasses caches, follows a few
// redirects and has a connect limit and a total limit; an answer other than 2xx, a
// network failure, or a body over the cap counts as failure.
namespace Web {

constexpr qint64 DefaultBodyCap = 1 << 20;

// The body, or an empty array with *ok false on any failure.
QByteArray DownloadBytes(const QString& url, bool* ok = nullptr, qint64 bodyCap = DefaultBodyCap);
// The body as UTF-8 text; "" on any failure.
QString DownloadText(const QString& url);

// Percent-encodes a query text as UTF-8, a blank as "+".
QString EncodeQuery(const QString& text);
// Percent-encodes one path segment as UTF-8.
QString EncodePathSegment(const QString& text);

// For tests: shorter limits in milliseconds (0 restores 5 s and 15 s).
void SetTimeLimits(long connectMs, long totalMs);

}  // namespace Web
