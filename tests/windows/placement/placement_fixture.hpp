// A world of its own for each test: a fresh folder below the temporary folder, TMP pointing
// inside it (so the journal's backups stay there), the product's uninstall key removed before
// and after, and the current language English.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "i18n/language_state.hpp"
#include "common/product_state.hpp"
#include "support/product_identity.hpp"
#include "support/unique_resource.hpp"
#include "support/windows_api.hpp"

namespace placement_test {

inline std::optional<std::wstring> Environment(const wchar_t* name) {
    wchar_t value[1024];
    const DWORD length = ::GetEnvironmentVariableW(name, value, 1024);
    if (length == 0 || length >= 1024) return std::nullopt;
    return std::wstring(value, length);
}

inline void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    zu::unique_file_handle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << "cannot create a test file, error " << ::GetLastError();
    DWORD put = 0;
    ASSERT_TRUE(::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr));
}

inline std::string ReadFileBytes(const std::wstring& path) {
    zu::unique_file_handle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    if (!file) return bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got != 0) bytes.append(buffer, got);
    return bytes;
}

inline bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline void DeleteProductKey() { ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, zu::ProductIdentity::uninstallKey); }

class PlacementWinTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t base[MAX_PATH];
        ASSERT_NE(::GetTempPathW(MAX_PATH, base), 0u);
        savedTmp_ = Environment(L"TMP");
        for (unsigned n = ::GetTickCount() & 0xFFFF;; ++n) {
            root_ = std::wstring(base) + L"zu-placement-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(n);
            if (::CreateDirectoryW(root_.c_str(), nullptr)) break;
            ASSERT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
        }
        temp_ = root_ + L"\\temp";
        ASSERT_TRUE(::CreateDirectoryW(temp_.c_str(), nullptr));
        ASSERT_TRUE(::SetEnvironmentVariableW(L"TMP", temp_.c_str()));
        DeleteProductKey();
        zu::set_language(zu::kEnglish);
    }

    void TearDown() override {
        DeleteProductKey();
        for (const std::wstring& path : outsideFiles_) ::DeleteFileW(path.c_str());
        ::SetEnvironmentVariableW(L"TMP", savedTmp_ ? savedTmp_->c_str() : nullptr);
        zu::set_language(zu::kEnglish);
        zu_test::remove_tree(root_);
    }

    std::wstring P(const std::wstring& relative) const { return root_ + L"\\" + relative; }
    void MakeFolder(const std::wstring& path) const { ASSERT_TRUE(::CreateDirectoryW(path.c_str(), nullptr)); }
    // A file the test makes outside its folder (in the prefix), removed at its end.
    void RemoveAtEnd(const std::wstring& path) { outsideFiles_.push_back(path); }

    std::wstring root_;
    std::wstring temp_;

private:
    std::optional<std::wstring> savedTmp_;
    std::vector<std::wstring> outsideFiles_;
};

}  // namespace placement_test
