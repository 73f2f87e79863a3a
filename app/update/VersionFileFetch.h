// Fetching the version file: an HTTP GET on a thread of its own, waited for
// at most a bounded time. Meanwhile the calling thread keeps its windows
// painted and answers what other threads and programs send them; their
// input waits in the queue until the fetch is over, so nothing the user does
// meanwhile can pull a window away under the running check.
#pragma once
#include <windows.h>

#include <string>

namespace pw {

// A few seconds are plenty for a small file; a slower server counts as
// unreachable.
constexpr DWORD kVersionFileTimeoutMs = 5000;

struct FetchedFile {
    bool ok = false;
    std::string body;
};

// Only http:// and https:// addresses are fetched. Anything but status 200
// with a body of at most XmlDocument::kMaxBytes, and anything that takes
// longer than timeoutMs, fails.
FetchedFile FetchVersionFile(const std::wstring& address, DWORD timeoutMs = kVersionFileTimeoutMs);

// Waits for event at most timeoutMs, letting this thread's windows paint and
// take sent messages meanwhile; true when the event came.
bool WaitWhileAnswering(HANDLE event, DWORD timeoutMs);

}  // namespace pw
