#include "LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace qmx::testing {
namespace {

constexpr int kPollMilliseconds = 50;
constexpr std::size_t kMaxRequestBytes = 8u << 20;

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

const char* ReasonOf(int status) {
    switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 307: return "Temporary Redirect";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

sockaddr_in LoopbackAddress(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

} // namespace

LoopbackServer::LoopbackServer(Handler handler) : handler_(std::move(handler)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0) throw std::runtime_error("socket failed");
    sockaddr_in address = LoopbackAddress(0);
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener_, 8) != 0) {
        ::close(listener_);
        throw std::runtime_error("bind/listen on 127.0.0.1 failed");
    }
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
}

LoopbackServer::~LoopbackServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    ::close(listener_);
}

std::string LoopbackServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<HttpRequest> LoopbackServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

int LoopbackServer::UnusedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = LoopbackAddress(0);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

void LoopbackServer::Run() {
    while (!Stopping()) {
        pollfd waiting{listener_, POLLIN, 0};
        if (::poll(&waiting, 1, kPollMilliseconds) <= 0) continue;
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) continue;
        Serve(connection);
        ::close(connection);
    }
}

void LoopbackServer::Serve(int connection) {
    // Reads until the predicate holds, the peer closes, or the server stops.
    std::string received;
    const auto readUntil = [&](auto&& done) {
        char buffer[16384];
        while (!done() && !Stopping() && received.size() < kMaxRequestBytes) {
            pollfd waiting{connection, POLLIN, 0};
            if (::poll(&waiting, 1, kPollMilliseconds) <= 0) continue;
            const ssize_t count = ::recv(connection, buffer, sizeof buffer, 0);
            if (count <= 0) return false;
            received.append(buffer, static_cast<std::size_t>(count));
        }
        return done();
    };
    if (!readUntil([&] { return received.find("\r\n\r\n") != std::string::npos; })) return;

    HttpRequest request;
    const std::size_t headEnd = received.find("\r\n\r\n");
    const std::string head = received.substr(0, headEnd);
    std::size_t lineEnd = head.find("\r\n");
    const std::string requestLine = head.substr(0, lineEnd);
    request.Method = requestLine.substr(0, requestLine.find(' '));
    const std::size_t targetStart = requestLine.find(' ') + 1;
    request.Target = requestLine.substr(targetStart, requestLine.find(' ', targetStart) - targetStart);
    while (lineEnd != std::string::npos) {
        const std::size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        const std::string line = head.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string value = line.substr(colon + 1);
        while (!value.empty() && value.front() == ' ') value.erase(0, 1);
        request.Headers[Lower(line.substr(0, colon))] = value;
    }
    const std::size_t bodyLength =
        request.Headers.count("content-length") ? std::stoul(request.Headers["content-length"]) : 0;
    if (!readUntil([&] { return received.size() >= headEnd + 4 + bodyLength; })) return;
    request.Body = received.substr(headEnd + 4, bodyLength);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }

    const HttpReply reply = handler_(request);
    if (reply.What == HttpReply::Kind::Hang) {
        // Holds the connection until the client gives up or the test ends.
        char buffer[256];
        while (!Stopping()) {
            pollfd waiting{connection, POLLIN, 0};
            if (::poll(&waiting, 1, kPollMilliseconds) <= 0) continue;
            if (::recv(connection, buffer, sizeof buffer, 0) <= 0) return;
        }
        return;
    }
    std::string answer = "HTTP/1.1 " + std::to_string(reply.Status) + " " + ReasonOf(reply.Status) + "\r\n";
    for (const auto& [name, value] : reply.Headers) answer += name + ": " + value + "\r\n";
    if (reply.SendLength) answer += "Content-Length: " + std::to_string(reply.Body.size()) + "\r\n";
    answer += "Connection: close\r\n\r\n" + reply.Body;
    std::size_t sent = 0;
    while (sent < answer.size() && !Stopping()) {
        pollfd waiting{connection, POLLOUT, 0};
        if (::poll(&waiting, 1, kPollMilliseconds) <= 0) continue;
        const ssize_t count = ::send(connection, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
        if (count < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return; // the client went away (a refused answer, for instance)
        }
        sent += static_cast<std::size_t>(count);
    }
    ::shutdown(connection, SHUT_WR);
}

std::string TextBetween(const std::string& text, const std::string& tag) {
    const std::string open = "<" + tag + ">", close = "</" + tag + ">";
    const std::size_t start = text.find(open);
    if (start == std::string::npos) return {};
    const std::size_t end = text.find(close, start + open.size());
    if (end == std::string::npos) return {};
    return text.substr(start + open.size(), end - start - open.size());
}

} // namespace qmx::testing
