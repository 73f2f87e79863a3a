#include "VersionFileFetch.h"

#include <winhttp.h>

#include <algorithm>
#include <atomic>
#include <memory>

#include "Handles.h"
#include "XmlReader.h"

namespace pw {
namespace {

struct InternetTraits {
    static HINTERNET Invalid() { return nullptr; }
    static bool IsValid(HINTERNET h) { return h != nullptr; }
    static void Close(HINTERNET h) { WinHttpCloseHandle(h); }
};
using cInternet = cUnique<HINTERNET, InternetTraits>;

// WinHTTP's own proxy discovery exists from Windows 8.1 on.
constexpr DWORD kAutomaticProxy = 4;  // WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY

cInternet OpenSession() {
    constexpr wchar_t kAgent[] = L"Pfadwerk";
    cInternet session(WinHttpOpen(kAgent, kAutomaticProxy, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (session)
        return session;
    // Older systems: the proxy the user set up for the browser, if any.
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG ie{};
    if (WinHttpGetIEProxyConfigForCurrentUser(&ie) && ie.lpszProxy) {
        session.Reset(WinHttpOpen(kAgent, WINHTTP_ACCESS_TYPE_NAMED_PROXY, ie.lpszProxy,
                                  ie.lpszProxyBypass ? ie.lpszProxyBypass : WINHTTP_NO_PROXY_BYPASS, 0));
    }
    for (LPWSTR text : {ie.lpszAutoConfigUrl, ie.lpszProxy, ie.lpszProxyBypass}) {
        if (text)
            GlobalFree(text);
    }
    if (!session)
        session.Reset(
            WinHttpOpen(kAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    return session;
}

}  // namespace

struct FetchJob {
    std::wstring address;
    ULONGLONG deadline = 0;
    HWND window = nullptr;
    UINT message = 0;
    WPARAM request = 0;
    std::atomic<bool> abandoned{false};
    std::atomic<bool> done{false};
    FetchedFile result;  // the asking side reads it only after done
};

namespace {

class cRequest {
  public:
    explicit cRequest(FetchJob& job) : job_(job) {}

    FetchedFile Run() {
        URL_COMPONENTS parts{};
        parts.dwStructSize = sizeof parts;
        parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
        if (!WinHttpCrackUrl(job_.address.c_str(), 0, 0, &parts))
            return {};
        if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
            return {};
        std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
        std::wstring path(parts.lpszUrlPath ? parts.lpszUrlPath : L"", parts.dwUrlPathLength);
        if (parts.lpszExtraInfo)
            path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
        if (host.empty())
            return {};
        if (path.empty())
            path = L"/";

        cInternet session = OpenSession();
        if (!session || !Bound(session.Get()))
            return {};
        cInternet connection(WinHttpConnect(session.Get(), host.c_str(), parts.nPort, 0));
        if (!connection)
            return {};
        DWORD flags = WINHTTP_FLAG_REFRESH | (parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
        cInternet request(WinHttpOpenRequest(connection.Get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                             WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
        if (!request || !Bound(request.Get()))
            return {};
        if (!WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
            !Bound(request.Get()) || !WinHttpReceiveResponse(request.Get(), nullptr))
            return {};
        DWORD status = 0, size = sizeof status;
        if (!WinHttpQueryHeaders(request.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                 WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX) ||
            status != HTTP_STATUS_OK)
            return {};

        FetchedFile file;
        char buffer[4096];
        for (;;) {
            if (!Bound(request.Get()))
                return {};
            DWORD read = 0;
            if (!WinHttpReadData(request.Get(), buffer, sizeof buffer, &read))
                return {};
            if (read == 0)
                break;
            file.body.append(buffer, read);
            if (file.body.size() > XmlDocument::kMaxBytes)
                return {};
        }
        file.ok = true;
        return file;
    }

  private:
    // Every step may take only what is left of the time; false when nothing
    // is left or the waiting side gave up.
    bool Bound(HINTERNET handle) const {
        ULONGLONG now = GetTickCount64();
        if (job_.abandoned || now >= job_.deadline)
            return false;
        int left = static_cast<int>(std::min<ULONGLONG>(job_.deadline - now, 0x7FFFFFFF));
        return WinHttpSetTimeouts(handle, left, left, left, left) != FALSE;
    }

    FetchJob& job_;
};

DWORD WINAPI FetchThread(void* parameter) {
    std::unique_ptr<std::shared_ptr<FetchJob>> owned(static_cast<std::shared_ptr<FetchJob>*>(parameter));
    FetchJob& job = **owned;
    job.result = cRequest(job).Run();
    job.done = true;
    if (!job.abandoned)
        PostMessageW(job.window, job.message, job.request, 0);
    return 0;
}

}  // namespace

FetchHandle StartVersionFileFetch(const std::wstring& address,
                                  DWORD timeoutMs,
                                  HWND window,
                                  UINT message,
                                  WPARAM request) {
    auto job = std::make_shared<FetchJob>();
    job->address = address;
    job->deadline = GetTickCount64() + timeoutMs;
    job->window = window;
    job->message = message;
    job->request = request;
    // The thread keeps its share: it may outlive a window that gave up.
    auto* share = new std::shared_ptr<FetchJob>(job);
    cHandle thread(CreateThread(nullptr, 0, &FetchThread, share, 0, nullptr));
    if (!thread) {
        delete share;
        return nullptr;
    }
    return job;
}

FetchedFile TakeFetchedFile(const FetchHandle& fetch) {
    if (!fetch || !fetch->done)
        return {};
    return std::move(fetch->result);
}

void AbandonFetch(const FetchHandle& fetch) {
    if (fetch)
        fetch->abandoned = true;
}

}  // namespace pw
