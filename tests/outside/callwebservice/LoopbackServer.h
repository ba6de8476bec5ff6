#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the web-service tests: one thread, one connection at
// a time, each answered by the test's handler and closed. It never waits longer than the test
// lets it: the destructor stops it within a tenth of a second, also while it holds a
// connection open without answering.
#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qmx::testing {

struct HttpRequest {
    std::string Method;                         // "POST"
    std::string Target;                         // "/ws"
    std::map<std::string, std::string> Headers; // names in lower case
    std::string Body;
};

struct HttpReply {
    enum class Kind {
        Answer, // status, headers and body
        Hang,   // read the request, then answer nothing until the client gives up
    };
    Kind What = Kind::Answer;
    int Status = 200;
    std::vector<std::pair<std::string, std::string>> Headers;
    std::string Body;
    bool SendLength = true; // false: the body ends with the connection

    static HttpReply Xml(std::string body, int status = 200) {
        HttpReply reply;
        reply.Status = status;
        reply.Headers = {{"Content-Type", "text/xml; charset=utf-8"}};
        reply.Body = std::move(body);
        return reply;
    }
    static HttpReply Hang() {
        HttpReply reply;
        reply.What = Kind::Hang;
        return reply;
    }
};

class LoopbackServer {
public:
    using Handler = std::function<HttpReply(const HttpRequest&)>;

    explicit LoopbackServer(Handler handler);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int Port() const { return port_; }
    // "http://127.0.0.1:<port>" + path.
    std::string Url(const std::string& path = "/ws") const;
    // The requests received so far, in order.
    std::vector<HttpRequest> Requests() const;

    // A port on 127.0.0.1 on which nothing listens (bound, then released).
    static int UnusedPort();

private:
    void Run();
    void Serve(int connection);
    bool Stopping() const { return stop_.load(); }

    Handler handler_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<HttpRequest> requests_;
    std::thread thread_;
};

// The text between <tag> and </tag> in text; "" when absent.
std::string TextBetween(const std::string& text, const std::string& tag);

} // namespace qmx::testing
