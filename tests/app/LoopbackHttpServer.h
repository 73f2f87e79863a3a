// A small HTTP server of the test's own on 127.0.0.1: it answers every GET
// with the status and body the test set, or with nothing at all while the
// connection stays open ("never answers"). It runs on one thread with a
// bounded accept loop and stops with the object.
#pragma once
#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pw::test {

class cLoopbackHttpServer {
  public:
    enum class Mode { Answer, NeverAnswer };

    cLoopbackHttpServer() {
        WSADATA data;
        started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        int size = sizeof address;
        if (listener_ == INVALID_SOCKET || bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            listen(listener_, 8) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            return;
        port_ = ntohs(address.sin_port);
        stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this] { Serve(); });
    }
    ~cLoopbackHttpServer() {
        if (stop_)
            SetEvent(stop_);
        if (listener_ != INVALID_SOCKET)
            closesocket(listener_);
        if (thread_.joinable())
            thread_.join();
        if (stop_)
            CloseHandle(stop_);
        if (holding_)
            CloseHandle(holding_);
        if (started_)
            WSACleanup();
    }
    cLoopbackHttpServer(const cLoopbackHttpServer&) = delete;
    cLoopbackHttpServer& operator=(const cLoopbackHttpServer&) = delete;

    bool Running() const { return port_ != 0; }
    std::wstring Url(const std::wstring& path = L"/download/version_check_pw.xml") const {
        return L"http://127.0.0.1:" + std::to_wstring(port_) + path;
    }
    void Answer(int status, std::string body) {
        std::lock_guard<std::mutex> lock(mutex_);
        mode_ = Mode::Answer;
        status_ = status;
        body_ = std::move(body);
    }
    void NeverAnswer() {
        std::lock_guard<std::mutex> lock(mutex_);
        mode_ = Mode::NeverAnswer;
    }
    // The request lines received so far ("GET /path HTTP/1.1").
    std::vector<std::string> Requests() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }
    // Set once a connection is held open without an answer.
    HANDLE HoldingEvent() const { return holding_; }

    // A loopback address where nothing listens: a port that was just free.
    static std::wstring DeadUrl() {
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof address;
        bind(s, reinterpret_cast<sockaddr*>(&address), size);
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
        closesocket(s);
        return L"http://127.0.0.1:" + std::to_wstring(ntohs(address.sin_port)) + L"/download/version_check_pw.xml";
    }

  private:
    void Serve() {
        // Bounded: no test makes more requests than this.
        for (int served = 0; served < 64; ++served) {
            SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET)
                return;
            Handle(client);
            closesocket(client);
        }
    }

    void Handle(SOCKET client) {
        std::string head;
        char buffer[1024];
        while (head.find("\r\n\r\n") == std::string::npos && head.size() < 16384) {
            int got = recv(client, buffer, sizeof buffer, 0);
            if (got <= 0)
                return;
            head.append(buffer, static_cast<size_t>(got));
        }
        Mode mode;
        std::string response;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(head.substr(0, head.find("\r\n")));
            mode = mode_;
            response = "HTTP/1.1 " + std::to_string(status_) +
                       " Status\r\nContent-Type: text/xml\r\nContent-Length: " + std::to_string(body_.size()) +
                       "\r\nConnection: close\r\n\r\n" + body_;
        }
        if (mode == Mode::NeverAnswer) {
            SetEvent(holding_);
            WaitForSingleObject(stop_, 60000);
            return;
        }
        send(client, response.data(), static_cast<int>(response.size()), 0);
        shutdown(client, SD_SEND);
    }

    bool started_ = false;
    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    HANDLE stop_ = nullptr;
    HANDLE holding_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread thread_;
    mutable std::mutex mutex_;
    Mode mode_ = Mode::Answer;
    int status_ = 404;
    std::string body_;
    std::vector<std::string> requests_;
};

}  // namespace pw::test
