#include "Web.h"

#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <curl/curl.h>

#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

long connectLimitMs = 5000;
long totalLimitMs = 15000;

struct Body {
    QByteArray data;
    bool overCap = false;
};

size_t collect(char* ptr, size_t size, size_t count, void* userData)
{
    auto* body = static_cast<Body*>(userData);
    const size_t bytes = size * count;
    if (body->data.size() + static_cast<qint64>(bytes) > Web::BodyCap) {
        body->overCap = true;
        return 0;
    }
    body->data.append(ptr, static_cast<qsizetype>(bytes));
    return bytes;
}

struct Job {
    quint64 id = 0;
    QByteArray address;
    long connectMs = 0;
    long totalMs = 0;
};

// One transfer on the download thread.
struct Running {
    quint64 id = 0;
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    Body body;

    ~Running()
    {
        curl_easy_cleanup(easy);
        curl_slist_free_all(headers);
    }
};

std::unique_ptr<Running> prepare(const Job& job)
{
    auto transfer = std::make_unique<Running>();
    transfer->id = job.id;
    transfer->easy = curl_easy_init();
    if (!transfer->easy)
        return nullptr;
    transfer->headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
    transfer->headers = curl_slist_append(transfer->headers, "Pragma: no-cache");
    CURL* curl = transfer->easy;
    curl_easy_setopt(curl, CURLOPT_URL, job.address.constData());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, transfer->headers);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Tessaryn/3.30");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, job.connectMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, job.totalMs);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(Web::BodyCap));
    curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer->body);
    curl_easy_setopt(curl, CURLOPT_PRIVATE, transfer.get());
    return transfer;
}

bool succeeded(const Running& transfer, CURLcode result)
{
    long status = 0;
    curl_easy_getinfo(transfer.easy, CURLINFO_RESPONSE_CODE, &status);
    return result == CURLE_OK && !transfer.body.overCap && status >= 200 && status <= 299;
}

QString encode(const QString& text, const QByteArray& keep)
{
    return QString::fromLatin1(text.toUtf8().toPercentEncoding(keep));
}

}  // namespace

namespace Web {

// Every download of the run: the transfers on the download thread, one multi handle
// that runs them side by side, and on the interface thread the downloads that wait
// for each address.
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
        if (!parsed.isValid() || !web) {
            // Refused at once, but answered like any other failure: after the caller's turn.
            QTimer::singleShot(0, download, [download] { download->finish({}, false); });
            return;
        }
        const quint64 id = ++lastId_;
        waiting_.insert(url, {id, {download}});
        urls_.insert(id, url);
        {
            const std::lock_guard lock(mutex_);
            starting_.push_back({id, parsed.toEncoded(), connectLimitMs, totalLimitMs});
        }
        curl_multi_wakeup(multi_);
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
        {
            const std::lock_guard lock(mutex_);
            cancelled_.push_back(id);
        }
        curl_multi_wakeup(multi_);
    }

signals:
    // Emitted on the download thread, delivered queued on the interface thread.
    void answered(quint64 id, const QByteArray& body, bool ok);

private:
    struct Waiting {
        quint64 id = 0;
        QList<QPointer<Download>> downloads;
    };

    // The library is made ready here, on the interface thread, before the download
    // thread starts.
    Transfers()
    {
        Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
        curl_global_init(CURL_GLOBAL_DEFAULT);
        multi_ = curl_multi_init();
        connect(this, &Transfers::answered, this, &Transfers::deliver, Qt::QueuedConnection);
        thread_ = std::thread([this] { run(); });
    }

    ~Transfers() override
    {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        curl_multi_wakeup(multi_);
        thread_.join();
        curl_multi_cleanup(multi_);
        curl_global_cleanup();
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

    // The download thread.
    void run()
    {
        std::map<quint64, std::unique_ptr<Running>> running;
        for (;;) {
            std::vector<Job> starting;
            std::vector<quint64> cancelled;
            {
                const std::lock_guard lock(mutex_);
                if (stopping_)
                    break;
                starting.swap(starting_);
                cancelled.swap(cancelled_);
            }
            for (const Job& job : starting) {
                std::unique_ptr<Running> transfer = prepare(job);
                if (!transfer) {
                    emit answered(job.id, {}, false);
                    continue;
                }
                curl_multi_add_handle(multi_, transfer->easy);
                running[job.id] = std::move(transfer);
            }
            for (quint64 id : cancelled) {
                if (auto it = running.find(id); it != running.end()) {
                    curl_multi_remove_handle(multi_, it->second->easy);
                    running.erase(it);
                }
            }

            int active = 0;
            curl_multi_perform(multi_, &active);
            int left = 0;
            while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
                if (message->msg != CURLMSG_DONE)
                    continue;
                Running* transfer = nullptr;
                curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &transfer);
                const bool ok = succeeded(*transfer, message->data.result);
                emit answered(transfer->id, ok ? transfer->body.data : QByteArray(), ok);
                curl_multi_remove_handle(multi_, transfer->easy);
                running.erase(transfer->id);
            }
            curl_multi_poll(multi_, nullptr, 0, 1000, nullptr);
        }
        for (auto& [id, transfer] : running)
            curl_multi_remove_handle(multi_, transfer->easy);
    }

    CURLM* multi_ = nullptr;
    std::thread thread_;
    std::mutex mutex_;
    std::vector<Job> starting_;
    std::vector<quint64> cancelled_;
    bool stopping_ = false;

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
