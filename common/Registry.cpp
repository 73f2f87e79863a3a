#include "Registry.h"

#include <cstring>
#include <cwchar>
#include <iterator>
#include <new>

#include "Handles.h"

namespace pw {
namespace {

// Read/write access as both programs have always asked for it (query, set,
// create and enumerate sub-keys, notify, create link).
constexpr REGSAM kReadWrite = 0x3F;

// "Pfadwerk.cRegistry", "PfadwerkHg.cRegistry": where an error came from.
std::wstring ErrorSource() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD got = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (got == 0) {
            path.clear();
            break;
        }
        if (got < path.size()) {
            path.resize(got);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos)
        name.resize(dot);
    return name + L".cRegistry";
}

void Raise(cError* error, long number, std::wstring description) {
    if (!error)
        return;
    error->number = number;
    error->source = ErrorSource();
    error->description = std::move(description);
}

// The root as the error texts show it: the 32-bit handle value in decimal
// (HKEY_CURRENT_USER is -2147483647), the same on 32 and 64 bits.
std::wstring RootText(HKEY root) {
    return std::to_wstring(static_cast<std::int32_t>(reinterpret_cast<LONG_PTR>(root)));
}

std::wstring SystemMessage(LONG code) {
    wchar_t* buffer = nullptr;
    DWORD len =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = len ? std::wstring(buffer, len) : L"Registry error " + std::to_wstring(code);
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    return text;
}

std::wstring TextOf(const std::vector<std::uint8_t>& data) {
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty())
        std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    return text;
}

// A single string ends at its first NUL: some writers store a size larger
// than the text, and what follows the terminator is not part of it.
std::wstring SingleString(const std::vector<std::uint8_t>& data) {
    std::wstring text = TextOf(data);
    size_t nul = text.find(L'\0');
    if (nul != std::wstring::npos)
        text.resize(nul);
    return text;
}

// A multi-string keeps its inner NULs as separators; only the terminators of
// the last entry and of the list go.
std::wstring MultiString(const std::vector<std::uint8_t>& data) {
    std::wstring text = TextOf(data);
    for (int i = 0; i < 2 && !text.empty() && text.back() == L'\0'; ++i)
        text.pop_back();
    return text;
}

// "%NAME%" where NAME is a variable of this process's environment. Only
// then does expanding change the text; "100%", "50% von 80%" or a name of no
// variable read back as they were written only when stored as plain text.
bool NamesEnvironmentVariable(const std::wstring& text) {
    for (size_t open = text.find(L'%'); open != std::wstring::npos; open = text.find(L'%', open + 1)) {
        size_t close = text.find(L'%', open + 1);
        if (close == std::wstring::npos)
            return false;
        if (close > open + 1) {
            std::wstring name = text.substr(open + 1, close - open - 1);
            if (GetEnvironmentVariableW(name.c_str(), nullptr, 0) > 0)
                return true;
        }
    }
    return false;
}

LONG SetValue(HKEY key, const std::wstring& name, DWORD type, const void* data, size_t bytes) {
    if (bytes > MAXDWORD)
        return ERROR_INVALID_PARAMETER;
    return RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(bytes));
}

}  // namespace

std::int32_t ToLong(const RegValue& value, std::int32_t fallback) {
    if (const auto* number = std::get_if<std::int32_t>(&value))
        return *number;
    const auto* text = std::get_if<std::wstring>(&value);
    if (!text)
        return fallback;
    size_t begin = text->find_first_not_of(L" \t");
    size_t end = text->find_last_not_of(L" \t");
    if (begin == std::wstring::npos)
        return fallback;
    std::wstring_view digits(text->data() + begin, end - begin + 1);
    bool negative = false;
    if (digits.front() == L'-' || digits.front() == L'+') {
        negative = digits.front() == L'-';
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits.size() > 10)
        return fallback;
    long long result = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9')
            return fallback;
        result = result * 10 + (c - L'0');
    }
    if (negative)
        result = -result;
    if (result < INT32_MIN || result > INT32_MAX)
        return fallback;
    return static_cast<std::int32_t>(result);
}

std::wstring ToText(const RegValue& value) {
    if (const auto* text = std::get_if<std::wstring>(&value))
        return *text;
    if (const auto* number = std::get_if<std::int32_t>(&value))
        return std::to_wstring(*number);
    // Bytes as text are UTF-16 characters, two bytes each.
    if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&value))
        return TextOf(*bytes);
    return {};
}

std::int32_t cRegistry::ReverseByteOrder(std::int32_t value) {
    auto u = static_cast<std::uint32_t>(value);
    u = (u >> 24) | ((u >> 8) & 0x0000FF00u) | ((u << 8) & 0x00FF0000u) | (u << 24);
    return static_cast<std::int32_t>(u);
}

std::wstring cRegistry::ExpandEnvironmentText(const std::wstring& text) {
    DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0)
        return text;
    std::wstring expanded(needed, L'\0');
    DWORD got = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), needed);
    if (got == 0 || got > needed)
        return text;
    expanded.resize(std::wcslen(expanded.c_str()));
    return expanded;
}

RegValue cRegistry::Value() {
    cHKey key;
    if (RegOpenKeyExW(classKey_, sectionKey_.c_str(), 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
        return default_;

    DWORD type = 0;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(key.Get(), valueKey_.c_str(), nullptr, &type, nullptr, &size);
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA)
        return default_;
    valueType_ = type;

    // Someone may rewrite the value between the two calls; ask again then.
    std::vector<std::uint8_t> data;
    for (int attempt = 0;; ++attempt) {
        data.resize(size);
        DWORD got = size;
        rc = RegQueryValueExW(key.Get(), valueKey_.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(), &got);
        if (rc == ERROR_SUCCESS) {
            data.resize(got);
            break;
        }
        if (rc != ERROR_MORE_DATA || attempt == 3)
            return default_;
        size = got;
    }
    valueType_ = type;

    switch (type) {
        case REG_SZ:
            return data.empty() ? default_ : RegValue(SingleString(data));
        case REG_MULTI_SZ:
            return data.empty() ? default_ : RegValue(MultiString(data));
        case REG_EXPAND_SZ:
            return data.empty() ? default_ : RegValue(ExpandEnvironmentText(SingleString(data)));
        case REG_DWORD:
        case REG_DWORD_BIG_ENDIAN: {
            if (data.size() != sizeof(std::int32_t))
                return default_;
            std::int32_t number;
            std::memcpy(&number, data.data(), sizeof number);
            return type == REG_DWORD ? number : ReverseByteOrder(number);
        }
        default:
            return data;
    }
}

void cRegistry::Value(const RegValue& vValue, cError* error) {
    cHKey key;
    if (RegCreateKeyExW(classKey_, sectionKey_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kReadWrite, nullptr,
                        key.Put(), nullptr) != ERROR_SUCCESS)
        return;

    switch (valueType_) {
        case REG_SZ:
        case REG_EXPAND_SZ: {
            std::wstring text = ToText(vValue);
            DWORD type = !literal_ && NamesEnvironmentVariable(text) ? REG_EXPAND_SZ : REG_SZ;
            SetValue(key.Get(), valueKey_, type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
            break;
        }
        case REG_BINARY: {
            const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&vValue);
            if (!bytes) {
                Raise(error, kRegistryError,
                      L"Failed to write registry Key: '" + RootText(classKey_) + L"',Section: '" + sectionKey_ +
                          L"',Key: '" + valueKey_ + L"' (binary data expected)");
                return;
            }
            SetValue(key.Get(), valueKey_, REG_BINARY, bytes->data(), bytes->size());
            break;
        }
        case REG_DWORD:
        case REG_DWORD_BIG_ENDIAN:
            // Only a real number is written; "42" as text is not one.
            if (const auto* number = std::get_if<std::int32_t>(&vValue))
                SetValue(key.Get(), valueKey_, REG_DWORD, number, sizeof *number);
            break;
        default:
            break;
    }
}

RegValue cRegistry::ValueEx(HKEY classKey,
                            std::wstring sectionKey,
                            std::wstring valueKey,
                            DWORD valueType,
                            RegValue vDefault) {
    ClassKey(classKey);
    SectionKey(std::move(sectionKey));
    ValueKey(std::move(valueKey));
    ValueType(valueType);
    Default(std::move(vDefault));
    return Value();
}

void cRegistry::ValueEx(HKEY classKey,
                        std::wstring sectionKey,
                        std::wstring valueKey,
                        DWORD valueType,
                        RegValue vDefault,
                        RegValue newValue,
                        cError* error) {
    ClassKey(classKey);
    SectionKey(std::move(sectionKey));
    ValueKey(std::move(valueKey));
    ValueType(valueType);
    Default(std::move(vDefault));
    if (valueType_ == REG_SZ && ToText(newValue).empty())
        newValue = default_;
    Value(newValue, error);
}

bool cRegistry::KeyExists() const {
    cHKey key;
    return RegOpenKeyExW(classKey_, sectionKey_.c_str(), 0, KEY_QUERY_VALUE, key.Put()) == ERROR_SUCCESS;
}

bool cRegistry::CreateKey(cError* error) {
    cHKey key;
    if (RegCreateKeyExW(classKey_, sectionKey_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kReadWrite, nullptr,
                        key.Put(), nullptr) == ERROR_SUCCESS)
        return true;
    Raise(error, kRegistryError, L"Failed to create registry Key: '" + sectionKey_);
    return false;
}

bool cRegistry::DeleteKey(cError* error) {
    // An empty path would name the root itself; never try to delete that.
    bool named = sectionKey_.find_first_not_of(L'\\') != std::wstring::npos;
    if (named && RegDeleteKeyW(classKey_, sectionKey_.c_str()) == ERROR_SUCCESS)
        return true;
    Raise(error, kRegistryError,
          L"Failed to delete registry Key: '" + RootText(classKey_) + L"',Section: '" + sectionKey_);
    return false;
}

bool cRegistry::DeleteValue(cError* error) {
    cHKey key;
    if (RegOpenKeyExW(classKey_, sectionKey_.c_str(), 0, kReadWrite, key.Put()) != ERROR_SUCCESS) {
        Raise(error, kRegistryError,
              L"Failed to open key '" + RootText(classKey_) + L"',Section: '" + sectionKey_ + L"' for delete access");
        return false;
    }
    if (RegDeleteValueW(key.Get(), valueKey_.c_str()) == ERROR_SUCCESS)
        return true;
    Raise(error, kRegistryError,
          L"Failed to delete registry Key: '" + RootText(classKey_) + L"',Section: '" + sectionKey_ + L"',Key: '" +
              valueKey_);
    return false;
}

bool cRegistry::EnumerateValues(std::vector<std::wstring>& sKeyNames, long& iKeyCount) {
    sKeyNames.assign(1, std::wstring());
    iKeyCount = 0;
    cHKey key;
    if (RegOpenKeyExW(classKey_, sectionKey_.c_str(), 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
        return true;

    DWORD longest = 0;
    RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longest, nullptr,
                     nullptr, nullptr);
    std::vector<wchar_t> name(longest + 1);
    for (DWORD index = 0;;) {
        DWORD len = static_cast<DWORD>(name.size());
        LONG rc = RegEnumValueW(key.Get(), index, name.data(), &len, nullptr, nullptr, nullptr, nullptr);
        // A longer name added meanwhile must not end the list early.
        if (rc == ERROR_MORE_DATA && name.size() < 32768) {
            name.resize(name.size() * 2);
            continue;
        }
        if (rc != ERROR_SUCCESS)
            break;
        sKeyNames.emplace_back(name.data(), len);
        ++iKeyCount;
        ++index;
    }
    return true;
}

bool cRegistry::EnumerateSections(std::vector<std::wstring>& sSect, long& iSectCount, cError* error, bool wrapErrors) {
    iSectCount = 0;
    sSect.assign(1, std::wstring());
    cHKey key;
    if (RegOpenKeyExW(classKey_, sectionKey_.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, key.Put()) != ERROR_SUCCESS)
        return true;

    long failure = 0;
    std::wstring failureText;
    try {
        // 255 characters is the longest key name, plus its terminator.
        wchar_t name[256];
        for (DWORD index = 0;; ++index) {
            DWORD len = static_cast<DWORD>(std::size(name));
            LONG rc = RegEnumKeyExW(key.Get(), index, name, &len, nullptr, nullptr, nullptr, nullptr);
            if (rc == ERROR_NO_MORE_ITEMS)
                return true;
            // Anything else would leave the list silently short, and callers
            // rewrite the favorite groups from it.
            if (rc != ERROR_SUCCESS) {
                failure = rc;
                failureText = SystemMessage(rc);
                break;
            }
            sSect.emplace_back(name, wcsnlen(name, len));
            ++iSectCount;
        }
    } catch (const std::bad_alloc&) {
        failure = 7;
        failureText = L"Out of memory";
    }
    sSect.assign(1, std::wstring());
    iSectCount = 0;
    Raise(error, wrapErrors ? kEnumerateSectionsError : failure, std::move(failureText));
    return false;
}

cRegistryKey::~cRegistryKey() {
    if (key_)
        RegCloseKey(key_);
}

cRegistryKey::cRegistryKey(cRegistryKey&& o) noexcept : key_(o.key_) {
    o.key_ = nullptr;
}

cRegistryKey& cRegistryKey::operator=(cRegistryKey&& o) noexcept {
    if (this != &o) {
        if (key_)
            RegCloseKey(key_);
        key_ = o.key_;
        o.key_ = nullptr;
    }
    return *this;
}

cRegistryKey cRegistryKey::Open(HKEY parent, const std::wstring& path) {
    cRegistryKey key;
    if (parent && RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &key.key_) != ERROR_SUCCESS)
        key.key_ = nullptr;
    return key;
}

std::uint64_t cRegistryKey::LastWriteTime() const {
    FILETIME written{};
    if (!key_ || RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, &written) != ERROR_SUCCESS)
        return 0;
    return (static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
}

std::vector<std::wstring> cRegistryKey::ValueNames() const {
    std::vector<std::wstring> names;
    // Value names are at most 16,383 characters.
    std::wstring name(16384, L'\0');
    for (DWORD i = 0; key_; ++i) {
        DWORD length = static_cast<DWORD>(name.size());
        LSTATUS rc = RegEnumValueW(key_, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS || (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA))
            break;
        if (rc == ERROR_SUCCESS)
            names.emplace_back(name.data(), length);
    }
    return names;
}

std::vector<std::wstring> cRegistryKey::SubkeyNames() const {
    std::vector<std::wstring> names;
    wchar_t name[256];  // key names are at most 255 characters
    for (DWORD i = 0; key_; ++i) {
        DWORD length = static_cast<DWORD>(std::size(name));
        LSTATUS rc = RegEnumKeyExW(key_, i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS || (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA))
            break;
        if (rc == ERROR_SUCCESS)
            names.emplace_back(name, length);
    }
    return names;
}

std::optional<std::vector<std::uint8_t>> cRegistryKey::Bytes(const std::wstring& name, size_t maxBytes) const {
    if (!key_)
        return std::nullopt;
    DWORD size = 0;
    if (RegQueryValueExW(key_, name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS || size > maxBytes)
        return std::nullopt;
    std::vector<std::uint8_t> data(size);
    // The value may have grown since: the call then fails instead of writing
    // past the buffer.
    if (RegQueryValueExW(key_, name.c_str(), nullptr, nullptr, data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(size);
    return data;
}

std::optional<std::wstring> cRegistryKey::Text(const std::wstring& name) const {
    DWORD type = 0;
    if (!key_ || RegQueryValueExW(key_, name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    auto data = Bytes(name);
    if (!data)
        return std::nullopt;
    std::wstring text = SingleString(*data);
    return type == REG_EXPAND_SZ ? cRegistry::ExpandEnvironmentText(text) : text;
}

}  // namespace pw
