#include "PlaceholderText.h"

#include <windows.h>

#include <oleauto.h>

#include <limits>

namespace pw {
namespace {

constexpr int kFirstDaySunday = 1;
constexpr int kFirstWeekWithJanuaryFirst = 1;

class cVariant {
  public:
    explicit cVariant(const PlaceholderValue& value) {
        VariantInit(&v_);
        if (const auto* text = std::get_if<std::wstring>(&value)) {
            v_.vt = VT_BSTR;
            v_.bstrVal = SysAllocStringLen(text->data(), static_cast<UINT>(text->size()));
        } else if (const auto* whole = std::get_if<std::int64_t>(&value)) {
            // A 32-bit whole number is what every system version formats.
            if (*whole >= std::numeric_limits<LONG>::min() && *whole <= std::numeric_limits<LONG>::max()) {
                v_.vt = VT_I4;
                v_.lVal = static_cast<LONG>(*whole);
            } else {
                v_.vt = VT_R8;
                v_.dblVal = static_cast<double>(*whole);
            }
        } else if (const auto* number = std::get_if<double>(&value)) {
            v_.vt = VT_R8;
            v_.dblVal = *number;
        } else {
            v_.vt = VT_DATE;
            v_.date = std::get<PlaceholderDate>(value).serial;
        }
    }
    ~cVariant() { VariantClear(&v_); }
    cVariant(const cVariant&) = delete;
    cVariant& operator=(const cVariant&) = delete;
    VARIANT* Get() { return &v_; }

  private:
    VARIANT v_;
};

std::wstring TakeBstr(BSTR text) {
    std::wstring out = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return out;
}

class cSystemFormatter : public PlaceholderFormatter {
  public:
    std::wstring Text(const PlaceholderValue& value) const override {
        if (const auto* text = std::get_if<std::wstring>(&value))
            return *text;
        cVariant in(value);
        VARIANT out;
        VariantInit(&out);
        if (FAILED(VariantChangeTypeEx(&out, in.Get(), LOCALE_USER_DEFAULT, 0, VT_BSTR)))
            return {};
        std::wstring text = TakeBstr(out.bstrVal);
        return text;
    }

    std::optional<std::wstring> Picture(const PlaceholderValue& value, std::wstring_view picture) const override {
        cVariant in(value);
        std::wstring format(picture);
        BSTR out = nullptr;
        if (FAILED(VarFormat(in.Get(), format.data(), kFirstDaySunday, kFirstWeekWithJanuaryFirst, 0, &out)))
            return std::nullopt;
        return TakeBstr(out);
    }
};

}  // namespace

const PlaceholderFormatter& SystemPlaceholderFormatter() {
    static const cSystemFormatter formatter;
    return formatter;
}

FormatResult FormatPlaceholders(std::wstring_view format, std::span<const PlaceholderValue> values) {
    return FormatPlaceholders(format, values, SystemPlaceholderFormatter());
}

}  // namespace pw
