// Reads back what an installation left on the machine: the uninstall key's values, the
// installation log beside the uninstaller, the association, the links; and runs the
// installed uninstaller as a user would.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>

#include "common/child_process.hpp"
#include "support/product_identity.hpp"
#include "support/windows_api.hpp"
#include "system/uninstall_log_file.hpp"

namespace zu_test {

struct KeyValue {
    DWORD type = 0;
    std::vector<std::uint8_t> data;
};

// Every value of the product's uninstall key, by name; empty when there is no key.
inline std::map<std::wstring, KeyValue> uninstall_key_values() {
    std::map<std::wstring, KeyValue> values;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, zu::ProductIdentity::uninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return values;
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        std::uint8_t data[4096];
        DWORD nameLength = 256, type = 0, size = sizeof data;
        if (::RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        values[name] = KeyValue{type, std::vector<std::uint8_t>(data, data + size)};
    }
    ::RegCloseKey(key);
    return values;
}

inline std::wstring string_of(const KeyValue& value) {
    std::wstring text(reinterpret_cast<const wchar_t*>(value.data.data()), value.data.size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

// The default value of a key below HKEY_CLASSES_ROOT; nothing when the key is missing.
inline std::optional<std::wstring> class_default(const std::wstring& key) {
    wchar_t text[1024] = L"";
    DWORD size = sizeof text;
    if (::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(text);
}

inline std::string read_bytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got) bytes.append(buffer, got);
    ::CloseHandle(file);
    return bytes;
}

inline bool exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline std::string utf8(const std::wstring& text) {
    std::string out(text.size() * 3 + 1, '\0');
    out.resize(static_cast<size_t>(::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                                         out.data(), static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
}

// The lines of a text with CR LF line ends.
inline std::vector<std::wstring> lines_of(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// Runs the uninstaller quietly and waits until its last step (run from a copy in the
// temporary folder, after it has ended) has removed the installation folder.
inline void uninstall_quietly(const std::wstring& uninstaller, const std::wstring& installFolder) {
    testing_support::child_process process(uninstaller, {L"/quiet"});
    ASSERT_TRUE(process.started()) << "cannot start the uninstaller";
    const auto code = process.wait(60000);
    ASSERT_TRUE(code.has_value()) << "the uninstaller did not end";
    EXPECT_EQ(*code, 0u);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (exists(installFolder) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    // The copy in the temporary folder hands its own deletion to the command interpreter.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
}

}  // namespace zu_test
