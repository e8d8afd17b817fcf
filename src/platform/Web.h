#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// Downloads over HTTP(S), run off the interface thread. Every request bypasses
// caches, follows a few redirects and has a connect limit and a total limit; an
// answer other than 2xx, a network failure, or a body over the cap counts as failure.
namespace Web {

// Answers longer than this are refused.
constexpr qint64 BodyCap = 1 << 20;

// One download of an address, started as it is made. Its answer comes back on the
// interface thread through `finished`, once, after which the object deletes itself.
// Deleting it first (its window closed, a newer request took its place) cancels it:
// the answer is dropped; a slot of `finished` may delete it too. A download of an
// address that is on its way already shares that transfer; the transfer stops when
// none of its downloads is left. When the answer comes, every download of the address
// is answered, each on a turn of the event loop of its own, so a slot that asks the
// user something holds back none of the others.
class Download : public QObject {
    Q_OBJECT
public:
    explicit Download(const QString& url, QObject* parent = nullptr);
    ~Download() override;

    const QString& Url() const { return url_; }
    bool IsRunning() const { return running_; }

signals:
    // The body of a 2xx answer; ok false and an empty body on any failure.
    void finished(const QByteArray& body, bool ok);

private:
    friend class Transfers;
    void finish(const QByteArray& body, bool ok);

    QString url_;
    bool running_ = true;
};

// Percent-encodes a query text as UTF-8, a blank as "+".
QString EncodeQuery(const QString& text);
// Percent-encodes one path segment as UTF-8.
QString EncodePathSegment(const QString& text);

// For tests: shorter limits in milliseconds (0 restores 5 s and 15 s), for the
// downloads started afterwards.
void SetTimeLimits(long connectMs, long totalMs);

}  // namespace Web
