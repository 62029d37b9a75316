#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "common/child_process.hpp"
#include "common/standin_window.hpp"
#include "common/wine_paths.hpp"
#include "support/named_objects.hpp"
#include "support/object_names.hpp"
#include "support/version_info.hpp"
#include "system/file_association.hpp"
#include "system/installation_record.hpp"

namespace {

const std::wstring kMobrix = zu_test::windows_path_of(ZU_STANDIN_MOBRIX);

std::wstring classes_value(const std::wstring& key) {
    wchar_t value[512] = L"";
    DWORD size = sizeof value;
    if (::SHGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, nullptr, value, &size) != ERROR_SUCCESS) return L"";
    return value;
}

// Leaves no association or record behind, whatever the test did.
struct CleanProductState {
    CleanProductState() { Clean(); }
    ~CleanProductState() { Clean(); }
    static void Clean() {
        zu::UnregisterFileAssociation();
        ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, zu::kInstallationRecordKey);
    }
};

TEST(StandInProduct, RegistrationRunRecordsItselfAndEndsWithMinusTen) {
    CleanProductState clean;
    testing_support::child_process run(kMobrix, {L"/Register", L"/Background"});
    ASSERT_TRUE(run.started());
    EXPECT_EQ(run.wait(), std::optional<DWORD>(static_cast<DWORD>(-10)));

    EXPECT_EQ(classes_value(zu::kProjectExtension), zu::kProjectClass);
    EXPECT_EQ(classes_value(std::wstring(zu::kProjectClass) + L"\\shell\\open\\command"), L"\"" + kMobrix + L"\" \"%1\"");
    const zu::InstallationRecord record = zu::ReadInstallationRecord();
    EXPECT_TRUE(record.installed);
    EXPECT_EQ(record.executable, kMobrix);
}

TEST(StandInProduct, RegistrationExitCodeCanBeChosenForTests) {
    CleanProductState clean;
    ::SetEnvironmentVariableW(L"ZU_STANDIN_REGISTER_EXIT", L"0");
    testing_support::child_process run(kMobrix, {L"/Register", L"/Background"});
    ::SetEnvironmentVariableW(L"ZU_STANDIN_REGISTER_EXIT", nullptr);
    EXPECT_EQ(run.wait(), std::optional<DWORD>(0));
}

TEST(StandInProduct, HoldsACounterUnitWhileItRuns) {
    zu::instance_counter counter(zu::running_product_counter_name().c_str());
    ASSERT_TRUE(counter.registered());
    EXPECT_EQ(counter.count(), 1);
    {
        testing_support::child_process product(kMobrix, {});
        ASSERT_TRUE(product.started());
        HWND window = zu_test::wait_for_standin_window();
        ASSERT_NE(window, nullptr);
        wchar_t title[64] = L"";
        ::GetWindowTextW(window, title, 64);
        EXPECT_STREQ(title, L"Mobrix 6.05h");
        EXPECT_EQ(counter.count(), 2);
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(product.wait(), std::optional<DWORD>(0));
    }
    EXPECT_EQ(counter.count(), 1);
}

TEST(StandInProduct, CarriesTheReleasesVersionResource) {
    zu::VersionInfo info;
    ASSERT_TRUE(info.Read(kMobrix.c_str()));
    EXPECT_EQ(info.fileVersion, 0x0006000500080001ull);
    EXPECT_EQ(info.productName, L"Mobrix");
    EXPECT_EQ(info.productVersion, L"6.05h");
    EXPECT_EQ(info.fullName, L"Mobrix 6.05h");
}

TEST(InstallationRecord, MissingPartsReadAsDocumented) {
    CleanProductState clean;
    EXPECT_FALSE(zu::ReadInstallationRecord().installed);
    ASSERT_TRUE(zu::WriteInstallationRecord(L"C:\\Program Files\\Quillon\\Mobrix 6\\Mobrix.exe"));
    EXPECT_EQ(zu::ReadInstallationRecord().executable, L"C:\\Program Files\\Quillon\\Mobrix 6\\Mobrix.exe");

    // Installed but no executable path: the value missing, or not text.
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, zu::kInstallationRecordKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    const DWORD number = 5;
    ::RegSetValueExW(key, L"Executable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    zu::InstallationRecord record = zu::ReadInstallationRecord();
    EXPECT_TRUE(record.installed);
    EXPECT_TRUE(record.executable.empty());
    ::RegDeleteValueW(key, L"Executable");
    record = zu::ReadInstallationRecord();
    EXPECT_TRUE(record.installed);
    EXPECT_TRUE(record.executable.empty());

    // An Installed value other than 1 means not installed.
    const DWORD zero = 0;
    ::RegSetValueExW(key, L"Installed", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), sizeof zero);
    EXPECT_FALSE(zu::ReadInstallationRecord().installed);
    ::RegCloseKey(key);

    EXPECT_TRUE(zu::DeleteInstallationRecord());
    EXPECT_FALSE(zu::ReadInstallationRecord().installed);
    HKEY gone = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, zu::kInstallationRecordKey, 0, KEY_READ, &gone), ERROR_SUCCESS);
}

TEST(InstallationRecord, DeletingKeepsWhatOthersStoredBesideIt) {
    CleanProductState clean;
    ASSERT_TRUE(zu::WriteInstallationRecord(L"C:\\x\\Mobrix.exe"));
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, zu::kInstallationRecordKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    const DWORD other = 3;
    ::RegSetValueExW(key, L"SomethingElse", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&other), sizeof other);
    ::RegCloseKey(key);
    EXPECT_TRUE(zu::DeleteInstallationRecord());
    DWORD value = 0, size = sizeof value;
    EXPECT_EQ(::SHGetValueW(HKEY_LOCAL_MACHINE, zu::kInstallationRecordKey, L"SomethingElse", nullptr, &value, &size),
              ERROR_SUCCESS);
    EXPECT_FALSE(zu::ReadInstallationRecord().installed);
}

}  // namespace
