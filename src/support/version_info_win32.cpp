#include "support/version_info.hpp"

#include <vector>

#include "support/windows_api.hpp"

namespace zu {
namespace {

bool query_string(const std::vector<BYTE>& block, const std::wstring& name, std::wstring& out) {
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), name.c_str(), &value, &length) || !value) return false;
    const auto* text = static_cast<const wchar_t*>(value);
    // The length counts the terminator when there is one.
    while (length > 0 && text[length - 1] == L'\0') --length;
    out.assign(text, length);
    return true;
}

}  // namespace

bool VersionInfo::Read(const wchar_t* path) {
    fileVersion = 0;
    if (items & FullName) fullName.clear();
    if (items & ProductName) productName.clear();
    if (items & ProductVersion) productVersion.clear();
    if (items & FileDescription) fileDescription.clear();
    if (items & LegalCopyright) legalCopyright.clear();

    wchar_t file[MAX_PATH] = L"";
    if (path) {
        ::lstrcpynW(file, path, MAX_PATH);
    } else {
        ::GetModuleFileNameW(nullptr, file, MAX_PATH);
    }

    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file, &ignored);
    if (size == 0) return false;
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoW(file, 0, size, block.data())) return false;

    struct Translation {
        WORD language;
        WORD codePage;
    };
    void* translations = nullptr;
    UINT translationsLength = 0;
    if (!::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translations, &translationsLength) ||
        translationsLength < sizeof(Translation)) {
        return false;
    }
    const auto* first = static_cast<const Translation*>(translations);
    const std::wstring prefix = string_table_prefix(first->language, first->codePage);

    bool result = true;
    std::wstring value;
    if (items & (FullName | ProductName)) {
        if (query_string(block, prefix + L"\\ProductName", value)) {
            if (items & FullName) fullName = value;
            if (items & ProductName) productName = value;
        } else {
            result = false;
        }
    }
    if (items & (FullName | ProductVersion)) {
        if (query_string(block, prefix + L"\\ProductVersion", value)) {
            if (items & FullName) fullName += L" " + value;
            if (items & ProductVersion) productVersion = value;
        } else {
            result = false;
        }
    }
    if (items & (FullName | FileVersion | FileFlags)) {
        void* fixed = nullptr;
        UINT fixedLength = 0;
        if (::VerQueryValueW(block.data(), L"\\", &fixed, &fixedLength) && fixedLength >= sizeof(VS_FIXEDFILEINFO)) {
            const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
            const std::uint32_t flags = info->dwFileFlags & info->dwFileFlagsMask;
            if (items & FileVersion) fileVersion = (std::uint64_t{info->dwFileVersionMS} << 32) | info->dwFileVersionLS;
            if (items & FileFlags) fileFlags = flags;
            if (items & FullName) fullName += build_suffixes(flags);
        } else {
            result = false;
        }
    }
    if ((items & FileDescription) && !query_string(block, prefix + L"\\FileDescription", fileDescription)) result = false;
    if ((items & LegalCopyright) && !query_string(block, prefix + L"\\LegalCopyright", legalCopyright)) result = false;
    return result;
}

}  // namespace zu
