// Fetching the version file: an HTTP GET on a thread of its own, which posts
// its end to the window that asked, tagged with the request's number. The
// window's thread never waits for it: a window that gave up (or asked again)
// drops an answer whose number is not the one it waits for.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

namespace pw {

// A few seconds are plenty for a small file; a slower server counts as
// unreachable.
constexpr DWORD kVersionFileTimeoutMs = 5000;

struct FetchedFile {
    bool ok = false;
    std::string body;
};

struct FetchJob;  // shared by the fetching thread and the window that asked
using FetchHandle = std::shared_ptr<FetchJob>;

// Starts the GET of address. Only http:// and https:// addresses are
// fetched; anything but status 200 with a body of at most
// XmlDocument::kMaxBytes, and anything that takes longer than timeoutMs,
// fails. When it ends, message is posted to window with request as wParam.
// Null when no thread could be started (nothing is posted then).
FetchHandle StartVersionFileFetch(const std::wstring& address,
                                  DWORD timeoutMs,
                                  HWND window,
                                  UINT message,
                                  WPARAM request);

// The answer, once the fetch's message has come.
FetchedFile TakeFetchedFile(const FetchHandle& fetch);

// The asking side gave up: the thread stops at its next step and its answer
// is dropped.
void AbandonFetch(const FetchHandle& fetch);

}  // namespace pw
