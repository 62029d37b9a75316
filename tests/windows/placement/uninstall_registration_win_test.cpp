// The uninstall key in the real registry: its twelve values with their types and sizes, a
// reinstallation over an existing key, and a key that cannot be opened.
#include <gtest/gtest.h>

#include "placement_fixture.hpp"
#include "support/wide_path.hpp"
#include "system/maker_contact.hpp"
#include "system/uninstall_registration.hpp"

using namespace zu;
using placement_test::PlacementWinTest;

namespace {

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    bool operator==(const RawValue& o) const { return type == o.type && data == o.data; }
};

std::optional<RawValue> Query(const wchar_t* name) {
    unique_registry_key key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, ProductIdentity::uninstallKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return std::nullopt;
    RawValue value;
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    value.data.resize(size);
    if (::RegQueryValueExW(key.get(), name, nullptr, &value.type, value.data.data(), &size) != ERROR_SUCCESS) return std::nullopt;
    value.data.resize(size);
    return value;
}

RawValue Sz(const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return {REG_SZ, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t))};
}

RawValue Dword(DWORD number) {
    const auto* bytes = reinterpret_cast<const BYTE*>(&number);
    return {REG_DWORD, std::vector<BYTE>(bytes, bytes + 4)};
}

std::vector<std::wstring> ValueNames() {
    std::vector<std::wstring> names;
    unique_registry_key key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, ProductIdentity::uninstallKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        if (::RegEnumValueW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

const std::wstring kExe = L"C:\\Program Files\\Quillon\\Mobrix 6\\Mobrix.exe";
const std::wstring kUninstaller = L"C:\\Program Files\\Quillon\\Mobrix 6\\Uninstall.exe";

void ExpectTwelveValues(DWORD language) {
    const std::pair<const wchar_t*, RawValue> expected[] = {
        {L"DisplayName", Sz(L"Mobrix 6.05h")},
        {L"UninstallString", Sz(kUninstaller)},
        {L"DisplayIcon", Sz(L"C:\\Program Files\\Quillon\\Mobrix 6\\Mobrix.exe,0")},
        {L"DisplayVersion", Sz(L"6.5.8.1")},
        {L"Publisher", Sz(L"Quillon")},
        {L"URLInfoAbout", Sz(MakerContact::webAddress)},
        {L"HelpLink", Sz(MakerContact::webAddress)},
        {L"URLUpdateInfo", Sz(MakerContact::webAddress)},
        {L"HelpTelephone", Sz(MakerContact::supportTelephone)},
        {L"NoModify", Dword(1)},
        {L"NoRepair", Dword(1)},
        {L"ZuLanguage", Dword(language)},
    };
    for (const auto& [name, value] : expected) {
        const std::optional<RawValue> got = Query(name);
        ASSERT_TRUE(got) << "missing " << to_utf8(name);
        EXPECT_EQ(got->type, value.type) << to_utf8(name);
        EXPECT_EQ(got->data.size(), value.data.size()) << to_utf8(name) << ": the size counts the NUL";
        EXPECT_TRUE(*got == value) << to_utf8(name);
    }
}

}  // namespace

TEST_F(PlacementWinTest, FirstInstallationCreatesTheKeyWithTwelveValues) {
    set_language(5);  // not translated: the installer ran in English, and says so
    CUninstallLog log;
    ASSERT_TRUE(WriteUninstallEntry(kExe, kUninstaller, log));
    ExpectTwelveValues(kEnglish);
    EXPECT_EQ(ValueNames().size(), 12u);

    ASSERT_EQ(log.currentEntries().size(), 1u);
    const LogEntry& entry = log.currentEntries()[0];
    EXPECT_EQ(entry.kind, LogEntryKind::UninstallKey);
    EXPECT_TRUE(entry.done);
    EXPECT_TRUE(entry.backupPath.empty()) << "a new key has nothing to save";
    EXPECT_FALSE(log.pending());

    log.Rollback();
    EXPECT_FALSE(Query(L"DisplayName")) << "an abandoned first installation deletes the key";
}

TEST_F(PlacementWinTest, ReinstallationSavesTheKeyAndKeepsValuesOfOtherNames) {
    {
        unique_registry_key key;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, ProductIdentity::uninstallKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        const std::wstring old = L"Mobrix 6.05g", extra = L"kept";
        ::RegSetValueExW(key.get(), L"DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(old.c_str()),
                         static_cast<DWORD>((old.size() + 1) * 2));
        ::RegSetValueExW(key.get(), L"InstallLocation", 0, REG_SZ, reinterpret_cast<const BYTE*>(extra.c_str()),
                         static_cast<DWORD>((extra.size() + 1) * 2));
        const DWORD language = 0;
        ::RegSetValueExW(key.get(), L"ZuLanguage", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&language), 4);
    }
    set_language(kFrench);
    CUninstallLog log;
    ASSERT_TRUE(WriteUninstallEntry(kExe, kUninstaller, log));
    ExpectTwelveValues(kFrench);
    EXPECT_TRUE(Query(L"InstallLocation") == Sz(L"kept"));
    EXPECT_EQ(ValueNames().size(), 13u);
    ASSERT_EQ(log.currentEntries().size(), 1u);
    EXPECT_TRUE(log.currentEntries()[0].done);
    EXPECT_FALSE(log.currentEntries()[0].backupPath.empty()) << "the existing key is saved before it changes";
    EXPECT_TRUE(placement_test::Exists(log.currentEntries()[0].backupPath));
    log.Write(P(L"Uninstall.ulog"), P(L""), P(L""));  // deletes the backup
}

TEST_F(PlacementWinTest, KeyThatCannotBeOpenedYieldsFalseAndNoLogEntry) {
    // HKEY_LOCAL_MACHINE seen through an empty key of the test's own: the Uninstall key cannot
    // be opened there, as for a user without rights on it.
    const wchar_t* stand = L"Software\\zu-placement-empty-machine";
    unique_registry_key empty;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, stand, 0, nullptr, 0, KEY_READ, nullptr, empty.put(), nullptr),
              ERROR_SUCCESS);
    const LONG overridden = ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, empty.get());
    if (overridden != ERROR_SUCCESS) {
        ::SHDeleteKeyW(HKEY_CURRENT_USER, stand);
        GTEST_SKIP() << "RegOverridePredefKey is not available here (" << overridden << ")";
    }
    CUninstallLog log;
    const bool written = WriteUninstallEntry(kExe, kUninstaller, log);
    ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    empty.reset();
    ::SHDeleteKeyW(HKEY_CURRENT_USER, stand);

    EXPECT_FALSE(written);
    EXPECT_TRUE(log.currentEntries().empty());
    EXPECT_FALSE(log.pending());
    EXPECT_FALSE(Query(L"DisplayName")) << "nothing was written to the real key either";
}
