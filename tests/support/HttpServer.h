#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>

// A small HTTP/1.0 server on 127.0.0.1 for tests: answers each request from a table
// of canned answers, keyed by the request target (path and query, exactly as sent).
// Each connection is served on its own thread, so a slow answer holds up no other.
class HttpServer {
public:
    // An answer with this delay never comes: the connection is held until the
    // client leaves or the server ends.
    static constexpr int Never = -1;

    struct Answer {
        int status = 200;
        QByteArray body;
        int delayMs = 0;
        QByteArray contentType = "text/plain";
    };

    HttpServer();
    ~HttpServer();

    void Serve(const QString& target, const Answer& answer);
    void ServeDefault(const Answer& answer);
    // "http://127.0.0.1:<port>"
    QString Base() const;
    QStringList Requests() const;
    void ClearRequests();
    // Requests whose client hung up before its answer was sent.
    int Abandoned() const { return abandoned_; }

private:
    void run();
    void handle(int client);
    // Waits out an answer's delay; false when the client left meanwhile.
    bool waitFor(int client, int delayMs);

    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> abandoned_{0};
    std::thread thread_;
    // Connections are served on detached threads, counted here: a process that ends
    // with _exit (as the program's Exit does) leaves no finished thread unjoined.
    int serving_ = 0;
    std::condition_variable served_;
    mutable std::mutex mutex_;
    std::map<std::string, Answer> answers_;
    Answer fallback_{404, "Not Found"};
    QStringList requests_;
};
