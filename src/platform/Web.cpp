#include "Web.h"

#include "ProgramModule.h"
#include "net/NetModule.h"

#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>
#include <QUrl>

#include <mutex>
#include <tuple>
#include <vector>

#include <dlfcn.h>
#include <sys/eventfd.h>
#include <unistd.h>

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
            post(download, {}, false);
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

private:
    struct Waiting {
        quint64 id = 0;
        QList<QPointer<Download>> downloads;
    };

    struct Answer {
        quint64 id = 0;
        QByteArray body;
        bool ok = false;
    };

    struct HandOut {
        QPointer<Download> download;
        QByteArray body;
        bool ok = false;
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

    // On the download thread: the answer is queued under the lock and the interface
    // thread woken through the event descriptor. No Qt event crosses the threads.
    static void onAnswered(void* context, std::uint64_t id, const char* body, std::int64_t size, bool ok)
    {
        auto* self = static_cast<Transfers*>(context);
        {
            const std::lock_guard lock(self->answersMutex_);
            self->answers_.push_back({id, QByteArray(body, qsizetype(size)), ok});
        }
        const std::uint64_t one = 1;
        std::ignore = write(self->wakeFd_, &one, sizeof one);
    }

    // Made on the interface thread, where the module readies the library before its
    // download thread starts. The notifier belongs to the application, which ends
    // before this object does.
    Transfers()
    {
        Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
        wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (wakeFd_ < 0)
            return;
        wake_ = new QSocketNotifier(wakeFd_, QSocketNotifier::Read, qApp);
        connect(wake_, &QSocketNotifier::activated, this, &Transfers::takeAnswers);
        net_ = openNet(this);
    }

    ~Transfers() override
    {
        if (net_.transfers)
            net_.stop(net_.transfers);
        delete wake_.data();
        if (wakeFd_ >= 0)
            close(wakeFd_);
    }

    void takeAnswers()
    {
        std::uint64_t count = 0;
        std::ignore = read(wakeFd_, &count, sizeof count);
        std::vector<Answer> answers;
        {
            const std::lock_guard lock(answersMutex_);
            answers.swap(answers_);
        }
        for (const Answer& answer : answers)
            deliver(answer);
    }

    // Every download of the address is answered, each on a turn of its own.
    void deliver(const Answer& answer)
    {
        const QString url = urls_.take(answer.id);
        auto it = waiting_.find(url);
        if (url.isEmpty() || it == waiting_.end() || it->id != answer.id)
            return;
        const QList<QPointer<Download>> downloads = it->downloads;
        waiting_.erase(it);
        for (const QPointer<Download>& download : downloads) {
            if (download)
                post(download, answer.body, answer.ok);
        }
    }

    // The download's answer waits for its turn on the event loop; a download deleted
    // first is skipped.
    void post(Download* download, const QByteArray& body, bool ok)
    {
        download->running_ = false;
        handOuts_.append({download, body, ok});
        postTurn();
    }

    void postTurn()
    {
        if (turnPosted_ || handOuts_.isEmpty())
            return;
        turnPosted_ = true;
        QMetaObject::invokeMethod(this, [this] { handOutNext(); }, Qt::QueuedConnection);
    }

    // One answer a turn. The next turn is posted before the slot runs, so that a slot
    // that asks the user something (a nested event loop) holds back no other answer.
    void handOutNext()
    {
        turnPosted_ = false;
        if (handOuts_.isEmpty())
            return;
        const HandOut next = handOuts_.takeFirst();
        postTurn();
        if (next.download)
            next.download->finish(next.body, next.ok);
    }

    Net net_;
    QHash<QString, Waiting> waiting_;
    QHash<quint64, QString> urls_;
    quint64 lastId_ = 0;
    int wakeFd_ = -1;
    QPointer<QSocketNotifier> wake_;
    QList<HandOut> handOuts_;
    bool turnPosted_ = false;
    std::mutex answersMutex_;
    std::vector<Answer> answers_;
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
    // A slot may delete the download, itself or from a nested event loop.
    const QPointer<Download> alive(this);
    emit finished(body, ok);
    if (alive)
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
