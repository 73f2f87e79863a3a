// The version file as the update check receives it: any bytes a server, a
// proxy or an attacker in between may send.
#include "FuzzInput.h"
#include "VersionFile.h"
#include "XmlReader.h"

using namespace pw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    // The first byte picks the kind of check and the installed build.
    bool automatic = data[0] & 1;
    std::int32_t installed = static_cast<std::int32_t>(data[0] >> 1) * 100;
    std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    if (auto document = XmlDocument::Parse(bytes)) {
        int info = document->FirstElement(XmlDocument::kDocument, L"version_info");
        if (info >= 0)
            document->Text(info);
    }
    VersionFileAnswer answer = ReadVersionFile(bytes, automatic, installed);
    if (answer.verdict == VersionFileVerdict::UpdateAvailable) {
        // Only a newer build and an address the shell may safely be given.
        PW_FUZZ_CHECK(answer.offered.build > installed);
        PW_FUZZ_CHECK(IsWebAddress(answer.downloadUrl));
        VersionText(answer.offered);
    } else {
        PW_FUZZ_CHECK(answer.downloadUrl.empty());
    }
    return 0;
}
