// The Like matcher and the comparison of the history's texts, with the
// search box's and the stored texts' bytes as they come (invalid UTF-8 too).
#include "FuzzInput.h"
#include "Text.h"

using namespace pw;

namespace {
int Sign(int v) {
    return (v > 0) - (v < 0);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto pieces = pwfuzz::Pieces(data, size, 3);
    std::string_view pattern = pieces[0];
    std::string_view text = pieces.size() > 1 ? pieces[1] : std::string_view();
    bool like = LikeNoCase(pattern, text);
    // The per-statement path folds once and must agree with the plain one.
    PW_FUZZ_CHECK(like == LikeFolded(FoldUtf8(pattern), FoldUtf8(text)));
    PW_FUZZ_CHECK(LikeNoCase("%", text));
    // A collation that is not antisymmetric corrupts the indexes it orders.
    PW_FUZZ_CHECK(Sign(CompareNoCase(pattern, text)) == -Sign(CompareNoCase(text, pattern)));
    PW_FUZZ_CHECK(CompareNoCase(text, text) == 0);
    std::wstring wide = FromUtf8(text);
    PW_FUZZ_CHECK(FromUtf8(ToUtf8(wide)) == wide);
    PW_FUZZ_CHECK(EqualsNoCase(wide, FoldCase(wide)));
    return 0;
}
