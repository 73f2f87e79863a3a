// The one way both programs touch the registry: an object holding the
// coordinates of one value, read and written as a property.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace pw {

// A registry value as the programs see it: nothing, text, 32-bit integer or
// bytes.
using RegValue = std::variant<std::monostate, std::wstring, std::int32_t, std::vector<std::uint8_t>>;

// Conversions the way the callers use them: a number from text "12" is 12,
// anything unconvertible gives the fallback.
std::int32_t ToLong(const RegValue& value, std::int32_t fallback = 0);
std::wstring ToText(const RegValue& value);

// A numbered error with its source and description.
struct cError {
    long number = 0;
    std::wstring source;
    std::wstring description;
};

constexpr long kRegistryError = 26001;
constexpr long kEnumerateSectionsError = static_cast<long>(0x800469AA);

class cRegistry {
  public:
    HKEY ClassKey() const { return classKey_; }
    void ClassKey(HKEY eKey) { classKey_ = eKey; }
    const std::wstring& SectionKey() const { return sectionKey_; }
    void SectionKey(std::wstring sSectionKey) { sectionKey_ = std::move(sSectionKey); }
    const std::wstring& ValueKey() const { return valueKey_; }
    void ValueKey(std::wstring sValueKey) { valueKey_ = std::move(sValueKey); }
    DWORD ValueType() const { return valueType_; }
    void ValueType(DWORD eValueType) { valueType_ = eValueType; }
    const RegValue& Default() const { return default_; }
    void Default(RegValue vDefault) { default_ = std::move(vDefault); }
    // How a text is written. By default as a path, which may name
    // environment variables ("%USERPROFILE%\Dokumente"): stored for
    // expansion when it names one that exists. A literal text (a display
    // name, a pattern of the ignore filter, a group name) is always stored
    // exactly as given, so that it reads back unchanged.
    bool Literal() const { return literal_; }
    void Literal(bool bLiteral) { literal_ = bLiteral; }

    // Never fails: anything missing or unreadable gives Default(). Updates
    // ValueType() to the type actually stored.
    RegValue Value();
    // Never reports failure. A number given as text for REG_DWORD writes
    // nothing; bytes are required for REG_BINARY (else *error is set).
    void Value(const RegValue& vValue, cError* error = nullptr);

    RegValue ValueEx(HKEY classKey, std::wstring sectionKey, std::wstring valueKey, DWORD valueType, RegValue vDefault);
    void ValueEx(HKEY classKey,
                 std::wstring sectionKey,
                 std::wstring valueKey,
                 DWORD valueType,
                 RegValue vDefault,
                 RegValue newValue,
                 cError* error = nullptr);

    bool KeyExists() const;
    // The structural operations "raise" by returning false and filling *error.
    bool CreateKey(cError* error = nullptr);
    bool DeleteKey(cError* error = nullptr);
    bool DeleteValue(cError* error = nullptr);
    // Names from index 1 (index 0 stays empty), as the callers expect.
    bool EnumerateValues(std::vector<std::wstring>& sKeyNames, long& iKeyCount);
    // wrapErrors: the worker reports failures as error 0x800469AA; the main
    // program passes the original error through.
    bool EnumerateSections(std::vector<std::wstring>& sSect,
                           long& iSectCount,
                           cError* error = nullptr,
                           bool wrapErrors = true);

    // %NAME% references filled in from this process's environment.
    static std::wstring ExpandEnvironmentText(const std::wstring& text);

  private:
    // REG_DWORD_BIG_ENDIAN data arrives in the other byte order.
    static std::int32_t ReverseByteOrder(std::int32_t value);

    HKEY classKey_ = nullptr;
    std::wstring sectionKey_;
    std::wstring valueKey_;
    DWORD valueType_ = 0;
    RegValue default_;
    bool literal_ = false;
};

// A key that Windows keeps for itself (Explorer's lists of remembered
// folders), opened for reading only: what it holds as it is, with the time it
// was last written. Values are read up to a bound; a larger one is nothing.
class cRegistryKey {
  public:
    cRegistryKey() = default;
    ~cRegistryKey();
    cRegistryKey(cRegistryKey&& o) noexcept;
    cRegistryKey& operator=(cRegistryKey&& o) noexcept;
    cRegistryKey(const cRegistryKey&) = delete;
    cRegistryKey& operator=(const cRegistryKey&) = delete;

    static cRegistryKey Open(HKEY parent, const std::wstring& path);
    cRegistryKey Subkey(const std::wstring& name) const { return Open(key_, name); }
    explicit operator bool() const { return key_ != nullptr; }

    std::uint64_t LastWriteTime() const;  // FILETIME, UTC; 0 when unknown
    std::vector<std::wstring> ValueNames() const;
    std::vector<std::wstring> SubkeyNames() const;
    // The value's bytes whatever its type, nothing when it is missing or
    // larger than maxBytes.
    std::optional<std::vector<std::uint8_t>> Bytes(const std::wstring& name, size_t maxBytes = 65536) const;
    // A REG_SZ or REG_EXPAND_SZ value (the latter expanded), up to its first NUL.
    std::optional<std::wstring> Text(const std::wstring& name) const;

  private:
    HKEY key_ = nullptr;
};

}  // namespace pw
