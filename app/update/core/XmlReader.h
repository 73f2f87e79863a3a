// A small reader for the version file: well-formed XML in UTF-8, UTF-16 or
// Latin-1, with the element look-up the check needs (the first element of a
// name anywhere below another, in document order) and the element's text.
// Anything that is not well-formed XML is refused as a whole.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

class XmlDocument {
  public:
    // A larger answer is no version file: it is refused unread.
    static constexpr size_t kMaxBytes = 64 * 1024;
    static constexpr int kDocument = -1;

    static std::optional<XmlDocument> Parse(std::string_view bytes);

    // The first element named name below parent (kDocument: anywhere), or -1.
    int FirstElement(int parent, std::wstring_view name) const;
    // The text of the element and everything in it, without the blanks and
    // line breaks around it.
    std::wstring Text(int element) const;

  private:
    struct Element {
        std::wstring name;
        std::wstring text;
        int end = 0;  // one past its last descendant
    };
    std::vector<Element> elements_;  // in document order

    friend class XmlParser;
};

}  // namespace pw
