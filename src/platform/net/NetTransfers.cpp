// The download thread: every transfer of the run on one libcurl multi handle, side
// by side. Jobs and cancellations come in from the interface thread through a queue;
// the outcomes go back through the program's callback. While no transfer runs the
// thread sleeps until a job, a cancellation or the stop comes, with no timeout.
#include "NetModule.h"

#include <curl/curl.h>

#include <map>
#include <memory>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Body {
    std::string data;
    std::int64_t cap = 0;
    bool overCap = false;
};

size_t collect(char* ptr, size_t size, size_t count, void* userData)
{
    auto* body = static_cast<Body*>(userData);
    const size_t bytes = size * count;
    if (std::int64_t(body->data.size() + bytes) > body->cap) {
        body->overCap = true;
        return 0;
    }
    body->data.append(ptr, bytes);
    return bytes;
}

struct Job {
    std::uint64_t id = 0;
    std::string address;
    long connectMs = 0;
    long totalMs = 0;
};

// One transfer on the download thread.
struct Running {
    std::uint64_t id = 0;
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    Body body;

    ~Running()
    {
        curl_easy_cleanup(easy);
        curl_slist_free_all(headers);
    }
};

std::unique_ptr<Running> prepare(const Job& job, std::int64_t cap)
{
    auto transfer = std::make_unique<Running>();
    transfer->id = job.id;
    transfer->body.cap = cap;
    transfer->easy = curl_easy_init();
    if (!transfer->easy)
        return nullptr;
    transfer->headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
    transfer->headers = curl_slist_append(transfer->headers, "Pragma: no-cache");
    CURL* curl = transfer->easy;
    curl_easy_setopt(curl, CURLOPT_URL, job.address.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, transfer->headers);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Tessaryn/3.30");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, job.connectMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, job.totalMs);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(cap));
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

class Transfers {
public:
    Transfers(NetAnswered answered, void* context, std::int64_t cap, CURLM* multi)
        : answered_(answered)
        , context_(context)
        , cap_(cap)
        , multi_(multi)
        , thread_([this] { run(); })
    {
    }

    ~Transfers()
    {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake();
        thread_.join();
        curl_multi_cleanup(multi_);
    }

    void Add(Job job)
    {
        {
            const std::lock_guard lock(mutex_);
            starting_.push_back(std::move(job));
        }
        wake();
    }

    void Cancel(std::uint64_t id)
    {
        {
            const std::lock_guard lock(mutex_);
            cancelled_.push_back(id);
        }
        wake();
    }

private:
    // Wakes the thread from either of its sleeps: on the queue, or in curl's poll.
    void wake()
    {
        queued_.notify_one();
        curl_multi_wakeup(multi_);
    }

    void answer(std::uint64_t id, const std::string& body, bool ok)
    {
        answered_(context_, id, ok ? body.data() : nullptr, ok ? std::int64_t(body.size()) : 0, ok);
    }

    void run()
    {
        std::map<std::uint64_t, std::unique_ptr<Running>> running;
        for (;;) {
            std::vector<Job> starting;
            std::vector<std::uint64_t> cancelled;
            {
                std::unique_lock lock(mutex_);
                if (running.empty())
                    queued_.wait(lock, [this] { return stopping_ || !starting_.empty() || !cancelled_.empty(); });
                if (stopping_)
                    break;
                starting.swap(starting_);
                cancelled.swap(cancelled_);
            }
            for (const Job& job : starting) {
                std::unique_ptr<Running> transfer = prepare(job, cap_);
                if (!transfer) {
                    answer(job.id, {}, false);
                    continue;
                }
                curl_multi_add_handle(multi_, transfer->easy);
                running[job.id] = std::move(transfer);
            }
            for (std::uint64_t id : cancelled) {
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
                answer(transfer->id, transfer->body.data, succeeded(*transfer, message->data.result));
                curl_multi_remove_handle(multi_, transfer->easy);
                running.erase(transfer->id);
            }
            if (!running.empty())
                curl_multi_poll(multi_, nullptr, 0, 1000, nullptr);
        }
        for (auto& [id, transfer] : running)
            curl_multi_remove_handle(multi_, transfer->easy);
    }

    NetAnswered answered_;
    void* context_;
    std::int64_t cap_;
    CURLM* multi_;
    std::mutex mutex_;
    std::condition_variable queued_;
    std::vector<Job> starting_;
    std::vector<std::uint64_t> cancelled_;
    bool stopping_ = false;
    std::thread thread_;  // last: it starts once everything it reads is made
};

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void* tessaryn_net_start(NetAnswered answered, void* context,
                                                                 std::int64_t bodyCap)
{
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        return nullptr;
    CURLM* multi = curl_multi_init();
    if (!multi) {
        curl_global_cleanup();
        return nullptr;
    }
    return new Transfers(answered, context, bodyCap, multi);
}

__attribute__((visibility("default"))) void tessaryn_net_add(void* net, std::uint64_t id, const char* address,
                                                             long connectMs, long totalMs)
{
    static_cast<Transfers*>(net)->Add({id, address, connectMs, totalMs});
}

__attribute__((visibility("default"))) void tessaryn_net_cancel(void* net, std::uint64_t id)
{
    static_cast<Transfers*>(net)->Cancel(id);
}

__attribute__((visibility("default"))) void tessaryn_net_stop(void* net)
{
    delete static_cast<Transfers*>(net);
    curl_global_cleanup();
}

}  // extern "C"
