// A copy of the installer whose embedded payload has bytes flipped inside its compressed data:
// the check before the extraction finds it, nothing is placed, and the Install page stays
// ready for another go.
#include <gtest/gtest.h>

#include "installed_product.hpp"
#include "machine_snapshot.hpp"
#include "quick_path.hpp"

namespace {

using namespace zu_test::quick;
using zu_test::BoxSeen;
using zu_test::WizardDriver;

constexpr WORD kPayloadType = 260, kPayloadName = 134;

BOOL CALLBACK first_language(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
    *reinterpret_cast<WORD*>(found) = language;
    return FALSE;
}

// Copies the installer to path with the payload's bytes flipped at a few places in its middle.
void write_damaged_installer(const std::wstring& path) {
    ASSERT_TRUE(::CopyFileW(installer().c_str(), path.c_str(), FALSE));
    std::string payload;
    WORD language = 0;
    {
        HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(module);
        HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(kPayloadName), MAKEINTRESOURCEW(kPayloadType));
        ASSERT_TRUE(resource);
        ::EnumResourceLanguagesW(module, MAKEINTRESOURCEW(kPayloadType), MAKEINTRESOURCEW(kPayloadName), first_language,
                                 reinterpret_cast<LONG_PTR>(&language));
        const char* data = static_cast<const char*>(::LockResource(::LoadResource(module, resource)));
        payload.assign(data, ::SizeofResource(module, resource));
        ::FreeLibrary(module);
    }
    ASSERT_GT(payload.size(), 1u << 20);
    for (std::size_t at : {payload.size() / 2, payload.size() / 2 + 4096, payload.size() * 3 / 4}) {
        for (std::size_t i = 0; i < 16; ++i) payload[at + i] = static_cast<char>(~payload[at + i]);
    }
    HANDLE update = ::BeginUpdateResourceW(path.c_str(), FALSE);
    ASSERT_TRUE(update);
    ASSERT_TRUE(::UpdateResourceW(update, MAKEINTRESOURCEW(kPayloadType), MAKEINTRESOURCEW(kPayloadName), language,
                                  payload.data(), static_cast<DWORD>(payload.size())));
    ASSERT_TRUE(::EndUpdateResourceW(update, FALSE));
}

TEST(E2E, DamagedPayloadIsFoundBeforeAnythingIsPlaced) {
    ProductRemovedAtEnd clean;
    const std::wstring damaged = zu_test::temp_folder() + L"\\e2e-damaged-installer.exe";
    write_damaged_installer(damaged);
    if (HasFatalFailure()) return;
    const zu_test::Snapshot driveBefore = zu_test::drive_listing();
    const zu_test::Snapshot registryBefore = zu_test::registry_listing();
    {
        WizardDriver w(damaged, L"", false);
        ASSERT_TRUE(w.Frame());
        w.ClickButton(kNext);
        w.ClickButton(kNext);
        ASSERT_EQ(w.PageIndex(), 4);
        EXPECT_FALSE(install_and_wait(w));
        const std::wstring log = progress_log(w);
        EXPECT_NE(log.find(L"\r\nPreparing Installation...Failed\r\n"), std::wstring::npos) << zu_test::utf8(log);
        EXPECT_EQ(log.find(L"Copying File"), std::wstring::npos);
        EXPECT_EQ(w.PageText(1003), L"Installation failed (Error Code 4).");
        EXPECT_EQ(w.ButtonText(kNext), L"Install");
        EXPECT_TRUE(w.Enabled(w.Button(kNext)) && w.Enabled(w.Button(kBack)) && w.Enabled(w.Button(kCancel)));
        w.ClickButton(kCancel);
        BoxSeen box = w.WaitForBox();
        ASSERT_TRUE(box.window);
        w.Answer(box, IDYES);
        EXPECT_EQ(w.WaitForExit(), 0u);
    }
    const zu_test::Snapshot driveAfter = zu_test::drive_listing();
    const zu_test::Snapshot registryAfter = zu_test::registry_listing();
    EXPECT_EQ(driveBefore, driveAfter) << zu_test::difference(driveBefore, driveAfter);
    EXPECT_EQ(registryBefore, registryAfter) << zu_test::difference(registryBefore, registryAfter);
    ::DeleteFileW(damaged.c_str());
}

}  // namespace
