// What a machine holds, as text lines that compare well: every folder and file below C:\ with
// its size and attributes, and every key and value of the registry trees a product touches.
// Two snapshots taken around an installation and its removal must be equal; the difference
// of two is printed when they are not.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "support/windows_api.hpp"

namespace zu_test {

using Snapshot = std::set<std::wstring>;

inline std::wstring lower(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(::towlower(c));
    return text;
}

inline std::wstring temp_folder() {
    wchar_t path[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, path);
    std::wstring folder = path;
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    wchar_t longPath[MAX_PATH] = L"";
    if (::GetLongPathNameW(folder.c_str(), longPath, MAX_PATH)) folder = longPath;
    return folder;
}

// Files and folders below root, except the folders named in skipped (lower case, full paths);
// of the folders named in shallow, only what they hold directly.
inline void list_files(const std::wstring& root, const std::vector<std::wstring>& skipped, Snapshot& out,
                       const std::vector<std::wstring>& shallow = {}) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((root + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = root + L"\\" + name;
        const std::wstring key = lower(path);
        bool skip = false;
        for (const auto& s : skipped) skip = skip || key == s;
        if (skip) continue;
        // The archive bit is the system's business, not a change of content.
        const DWORD attributes = found.dwFileAttributes & ~DWORD{FILE_ATTRIBUTE_ARCHIVE};
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.insert(key + L"\\ <dir " + std::to_wstring(attributes) + L">");
            bool deep = !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
            for (const auto& s : shallow) deep = deep && lower(root) != s;
            if (deep) list_files(path, skipped, out, shallow);
        } else {
            const unsigned long long size = (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            out.insert(key + L" " + std::to_wstring(size) + L" <" + std::to_wstring(attributes) + L">");
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

// The drive C: of the prefix without the temporary folder (where the test itself and the
// uninstaller's last copy live) and Wine's own logs. The user's own shell folders are links to
// the Unix home folder in a Wine prefix: only their first level is the prefix's business.
inline Snapshot drive_listing() {
    Snapshot out;
    std::vector<std::wstring> shallow;
    for (int csidl : {CSIDL_PERSONAL, CSIDL_DESKTOPDIRECTORY, CSIDL_MYMUSIC, CSIDL_MYVIDEO, CSIDL_MYPICTURES,
                      CSIDL_TEMPLATES}) {
        wchar_t path[MAX_PATH] = L"";
        if (::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK) shallow.push_back(lower(path));
    }
    wchar_t profile[MAX_PATH] = L"";
    if (::SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, profile) == S_OK) {
        shallow.push_back(lower(std::wstring(profile) + L"\\downloads"));
    }
    list_files(L"C:", {lower(temp_folder()), L"c:\\windows\\logs", L"c:\\windows\\temp"}, out, shallow);
    return out;
}

inline std::wstring value_text(DWORD type, const BYTE* data, DWORD size) {
    std::wstring text = L"[" + std::to_wstring(type) + L"]";
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
        text.append(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
    } else {
        static const wchar_t hex[] = L"0123456789abcdef";
        for (DWORD i = 0; i < size; ++i) {
            text += hex[data[i] >> 4];
            text += hex[data[i] & 15];
        }
    }
    return text;
}

inline void list_key(HKEY root, const std::wstring& name, const std::wstring& label, Snapshot& out, int depth = 64) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    out.insert(lower(label));
    std::vector<BYTE> data(1 << 16);
    for (DWORD i = 0;; ++i) {
        wchar_t valueName[16384];
        DWORD nameLength = 16384, type = 0, size = static_cast<DWORD>(data.size());
        const LONG status = ::RegEnumValueW(key, i, valueName, &nameLength, nullptr, &type, data.data(), &size);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) continue;
        out.insert(lower(label) + L" : " + valueName + L" = " + value_text(type, data.data(), size));
    }
    std::vector<std::wstring> subkeys;
    for (DWORD i = 0;; ++i) {
        wchar_t subkey[256];
        DWORD length = 256;
        if (::RegEnumKeyExW(key, i, subkey, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        subkeys.emplace_back(subkey);
    }
    ::RegCloseKey(key);
    for (const auto& subkey : subkeys) {
        if (depth == 0) {
            out.insert(lower(label + L"\\" + subkey));
            continue;
        }
        list_key(root, name.empty() ? subkey : name + L"\\" + subkey, label + L"\\" + subkey, out, depth - 1);
    }
}

// Where a product registers itself, in full, and the names of the keys around it: the
// software trees of the machine and the user, and the classes. A whole walk of the software
// trees takes minutes under Wine (its registry links make them much larger than they are).
inline Snapshot registry_listing() {
    Snapshot out;
    list_key(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", L"HKLM\\Uninstall", out);
    list_key(HKEY_LOCAL_MACHINE, L"Software\\Quillon", L"HKLM\\Software\\Quillon", out);
    list_key(HKEY_CURRENT_USER, L"Software\\Quillon", L"HKCU\\Software\\Quillon", out);
    list_key(HKEY_CLASSES_ROOT, L".mbx6", L"HKCR\\.mbx6", out);
    list_key(HKEY_CLASSES_ROOT, L"Mobrix.Project.6", L"HKCR\\Mobrix.Project.6", out);
    list_key(HKEY_LOCAL_MACHINE, L"Software", L"HKLM\\Software", out, 0);
    list_key(HKEY_CURRENT_USER, L"Software", L"HKCU\\Software", out, 0);
    list_key(HKEY_LOCAL_MACHINE, L"Software\\Classes", L"HKLM\\Software\\Classes", out, 0);
    list_key(HKEY_CURRENT_USER, L"Software\\Classes", L"HKCU\\Software\\Classes", out, 0);
    return out;
}

// The lines only in a (as "- ") and only in b (as "+ "), UTF-8.
inline std::string difference(const Snapshot& a, const Snapshot& b) {
    std::wstring text;
    for (const auto& line : a) if (!b.count(line)) text += L"- " + line + L"\n";
    for (const auto& line : b) if (!a.count(line)) text += L"+ " + line + L"\n";
    std::string utf8(text.size() * 3 + 1, '\0');
    utf8.resize(static_cast<size_t>(::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                                           utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr)));
    return utf8;
}

}  // namespace zu_test

namespace zu_test {

// Every file below root with a digest of its bytes, for "back byte for byte" checks.
inline Snapshot content_listing(const std::wstring& root) {
    Snapshot names, out;
    list_files(root, {}, names);
    for (const auto& line : names) {
        if (line.find(L"\\ <dir") != std::wstring::npos) continue;
        const std::wstring path = line.substr(0, line.rfind(L' ', line.rfind(L' ') - 1));
        HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        unsigned long long digest = 1469598103934665603ull;  // FNV-1a
        if (file != INVALID_HANDLE_VALUE) {
            unsigned char buffer[65536];
            DWORD got = 0;
            while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got) {
                for (DWORD i = 0; i < got; ++i) digest = (digest ^ buffer[i]) * 1099511628211ull;
            }
            ::CloseHandle(file);
        }
        out.insert(line + L" #" + std::to_wstring(digest));
    }
    return out;
}

}  // namespace zu_test
