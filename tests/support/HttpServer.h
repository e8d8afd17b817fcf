#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

// A small HTTP/1.0 server on 127.0.0.1 for tests: answers each request from a table
// of canned answers, keyed by the request target (path and query, exactly as sent).
class HttpServer {
public:
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

private:
    void run();
    void handle(int client);

    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    std::map<std::string, Answer> answers_;
    Answer fallback_{404, "Not Found"};
    QStringList requests_;
};
