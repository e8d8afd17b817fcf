#include "HttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

HttpServer::HttpServer()
{
    listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    int yes = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    ::listen(listenFd_, 16);
    thread_ = std::thread([this] { run(); });
}

HttpServer::~HttpServer()
{
    stopping_ = true;
    ::shutdown(listenFd_, SHUT_RDWR);
    ::close(listenFd_);
    thread_.join();
    std::unique_lock lock(mutex_);
    served_.wait(lock, [this] { return serving_ == 0; });
}

void HttpServer::Serve(const QString& target, const Answer& answer)
{
    std::lock_guard lock(mutex_);
    answers_[target.toStdString()] = answer;
}

void HttpServer::ServeDefault(const Answer& answer)
{
    std::lock_guard lock(mutex_);
    fallback_ = answer;
}

QString HttpServer::Base() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }

QStringList HttpServer::Requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

void HttpServer::ClearRequests()
{
    std::lock_guard lock(mutex_);
    requests_.clear();
}

void HttpServer::run()
{
    while (!stopping_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0)
            continue;
        const int client = ::accept(listenFd_, nullptr, nullptr);
        if (client < 0)
            continue;
        {
            std::lock_guard lock(mutex_);
            ++serving_;
        }
        std::thread([this, client] {
            handle(client);
            ::close(client);
            std::lock_guard lock(mutex_);
            --serving_;
            served_.notify_all();
        }).detach();
    }
}

bool HttpServer::waitFor(int client, int delayMs)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(delayMs);
    while ((delayMs == Never || std::chrono::steady_clock::now() < until) && !stopping_) {
        pollfd p{client, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        char buffer[512];
        if (::recv(client, buffer, sizeof buffer, 0) <= 0) {
            ++abandoned_;
            return false;
        }
    }
    return true;
}

void HttpServer::handle(int client)
{
    QByteArray request;
    char buffer[4096];
    while (!request.contains("\r\n\r\n")) {
        pollfd p{client, POLLIN, 0};
        if (::poll(&p, 1, 2000) <= 0)
            return;
        const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0)
            return;
        request.append(buffer, n);
    }
    const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
    const QByteArray target = words.value(1);
    Answer answer;
    {
        std::lock_guard lock(mutex_);
        requests_.append(QString::fromLatin1(target));
        auto it = answers_.find(target.toStdString());
        answer = it != answers_.end() ? it->second : fallback_;
    }
    if (!waitFor(client, answer.delayMs) || stopping_)
        return;
    QByteArray reply = "HTTP/1.0 " + QByteArray::number(answer.status) + " X\r\nContent-Type: "
        + answer.contentType + "\r\nContent-Length: " + QByteArray::number(answer.body.size())
        + "\r\nConnection: close\r\n\r\n" + answer.body;
    qsizetype sent = 0;
    while (sent < reply.size()) {
        const ssize_t n = ::send(client, reply.constData() + sent, reply.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return;
        sent += n;
    }
}
