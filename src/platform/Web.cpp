#include "Web.h"

#include "ProgramModule.h"
#include "net/NetModule.h"

#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <dlfcn.h>

namespace {

long connectLimitMs = 5000;
long totalLimitMs = 15000;

QString encode(const QString& text, const QByteArray& keep)
{
    return QString::fromLatin1(text.toUtf8().toPercentEncoding(keep));
}

}  // namespace

namespace Web {

// Every download of the run: on the interface thread the downloads that wait for
// each address, and their transfers on the network module's download thread.
class Transfers : public QObject {
    Q_OBJECT
public:
    static Transfers& Get()
    {
        static Transfers transfers;
        return transfers;
    }

    void Join(Download* download)
    {
        const QString& url = download->Url();
        if (auto it = waiting_.find(url); it != waiting_.end()) {
            it->downloads.append(download);
            return;
        }
        const QUrl parsed(url, QUrl::StrictMode);
        const bool web = parsed.scheme() == QLatin1String("http") || parsed.scheme() == QLatin1String("https");
        if (!parsed.isValid() || !web || !net_.transfers) {
            // Refused at once, but answered like any other failure: after the caller's turn.
            QTimer::singleShot(0, download, [download] { download->finish({}, false); });
            return;
        }
        const quint64 id = ++lastId_;
        waiting_.insert(url, {id, {download}});
        urls_.insert(id, url);
        net_.add(net_.transfers, id, parsed.toEncoded().constData(), connectLimitMs, totalLimitMs);
    }

    void Leave(Download* download)
    {
        auto it = waiting_.find(download->Url());
        if (it == waiting_.end())
            return;
        it->downloads.removeAll(download);
        if (!it->downloads.isEmpty())
            return;
        const quint64 id = it->id;
        waiting_.erase(it);
        urls_.remove(id);
        net_.cancel(net_.transfers, id);
    }

signals:
    // Emitted on the download thread, delivered queued on the interface thread.
    void answered(quint64 id, const QByteArray& body, bool ok);

private:
    struct Waiting {
        quint64 id = 0;
        QList<QPointer<Download>> downloads;
    };

    // The network module, opened with the first download; without it every download
    // fails.
    struct Net {
        NetAdd add = nullptr;
        NetCancel cancel = nullptr;
        NetStop stop = nullptr;
        void* transfers = nullptr;
    };

    static Net openNet(Transfers* self)
    {
        void* module = OpenProgramModule("libtessaryn_net.so");
        if (!module)
            return {};
        const auto start = reinterpret_cast<NetStart>(dlsym(module, "tessaryn_net_start"));
        Net net{reinterpret_cast<NetAdd>(dlsym(module, "tessaryn_net_add")),
                reinterpret_cast<NetCancel>(dlsym(module, "tessaryn_net_cancel")),
                reinterpret_cast<NetStop>(dlsym(module, "tessaryn_net_stop"))};
        if (start && net.add && net.cancel && net.stop)
            net.transfers = start(&Transfers::onAnswered, self, BodyCap);
        return net;
    }

    // On the download thread.
    static void onAnswered(void* context, std::uint64_t id, const char* body, std::int64_t size, bool ok)
    {
        emit static_cast<Transfers*>(context)->answered(id, QByteArray(body, qsizetype(size)), ok);
    }

    // Made on the interface thread, where the module readies the library before its
    // download thread starts.
    Transfers()
    {
        Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
        connect(this, &Transfers::answered, this, &Transfers::deliver, Qt::QueuedConnection);
        net_ = openNet(this);
    }

    ~Transfers() override
    {
        if (net_.transfers)
            net_.stop(net_.transfers);
    }

    void deliver(quint64 id, const QByteArray& body, bool ok)
    {
        const QString url = urls_.take(id);
        auto it = waiting_.find(url);
        if (url.isEmpty() || it == waiting_.end() || it->id != id)
            return;
        const QList<QPointer<Download>> downloads = it->downloads;
        waiting_.erase(it);
        for (const QPointer<Download>& download : downloads) {
            if (download)
                download->finish(body, ok);
        }
    }

    Net net_;
    QHash<QString, Waiting> waiting_;
    QHash<quint64, QString> urls_;
    quint64 lastId_ = 0;
};

Download::Download(const QString& url, QObject* parent)
    : QObject(parent)
    , url_(url)
{
    Transfers::Get().Join(this);
}

Download::~Download()
{
    if (running_)
        Transfers::Get().Leave(this);
}

void Download::finish(const QByteArray& body, bool ok)
{
    running_ = false;
    emit finished(body, ok);
    deleteLater();
}

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

#include "Web.moc"
