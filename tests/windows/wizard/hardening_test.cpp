// A whole installation by a copy of the installer sitting among libraries named like those that
// programs commonly load by name (in its own folder and in its working folder), as a download
// folder may hold them: none of them may be loaded, the DirectX setup library's companion
// included. The same run shows that the wizard keeps answering while the registration run of
// the installed product is waited for.
#include <gtest/gtest.h>

#include <sstream>

#include "app/running_product_counter.hpp"
#include "i18n/language_state.hpp"
#include "i18n/messages.hpp"
#include "support/product_identity.hpp"
#include "wizard_driver.hpp"

namespace {

using zu_test::WizardDriver;

constexpr int kNext = IDOK, kBack = 3, kCancel = IDCANCEL;

std::vector<std::wstring> canary_names() {
    std::vector<std::wstring> names;
    const std::string list = ZU_CANARY_NAMES;
    std::wistringstream in(std::wstring(list.begin(), list.end()));
    for (std::wstring name; std::getline(in, name, L',');) names.push_back(name + L".dll");
    return names;
}

std::vector<std::wstring> markers_in(const std::wstring& folder) {
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW data;
    HANDLE search = ::FindFirstFileW((folder + L"\\*.loaded").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return found;
    do found.push_back(data.cFileName);
    while (::FindNextFileW(search, &data));
    ::FindClose(search);
    return found;
}

// The whole text of a control of the wizard (the driver's reader stops at 4096 characters; the
// progress log of a whole installation is longer).
std::wstring full_text(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

bool answers_within(HWND window, unsigned milliseconds) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, milliseconds, &result) != 0;
}

class HijackFolder : public ::testing::Test {
protected:
    void SetUp() override {
        // This program links the application and so counts as a running product; the installer
        // under test would wait for it.
        zu::running_product_counter().unregister();
        zu::set_language(zu::kEnglish);  // the installer shows English here
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        root_ = std::wstring(temp) + L"zu-hijack-" + std::to_wstring(::GetCurrentProcessId());
        zu_test::remove_tree(root_);
        ASSERT_TRUE(::CreateDirectoryW(root_.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryW(installerFolder().c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryW(workingFolder().c_str(), nullptr));
        ASSERT_TRUE(::CopyFileW(zu_test::wine_path(ZU_INSTALLER_EXE).c_str(), installer().c_str(), FALSE));
        const std::wstring canaries = zu_test::wine_path(ZU_CANARY_FOLDER);
        for (const std::wstring& name : canary_names()) {
            for (const std::wstring& folder : {installerFolder(), workingFolder()}) {
                ASSERT_TRUE(::CopyFileW((canaries + L"\\" + name).c_str(), (folder + L"\\" + name).c_str(), FALSE))
                    << std::string(name.begin(), name.end());
            }
        }
    }
    void TearDown() override {
        ::SetEnvironmentVariableW(L"ZU_STANDIN_REGISTER_DELAY", nullptr);
        // Whatever way the run ended, no planted library may have been loaded.
        for (const std::wstring& folder : {installerFolder(), workingFolder()}) {
            for (const std::wstring& marker : markers_in(folder))
                ADD_FAILURE() << "loaded from " << std::string(folder.begin(), folder.end()) << ": "
                              << std::string(marker.begin(), marker.end());
        }
        zu_test::remove_tree(root_);
    }

    std::wstring installerFolder() const { return root_ + L"\\Downloads"; }
    std::wstring workingFolder() const { return root_ + L"\\work"; }
    std::wstring installer() const { return installerFolder() + L"\\InstallMobrix6.05h.exe"; }

    std::wstring root_;
};

TEST_F(HijackFolder, AWholeInstallationLoadsNoPlantedLibraryAndPaintsWhileTheRegistrationRuns) {
    ASSERT_EQ(canary_names().size(), 11u);
    // The installer inherits the working folder and the slow registration from this process.
    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryW(workingFolder().c_str()));
    ::SetEnvironmentVariableW(L"ZU_STANDIN_REGISTER_DELAY", L"3000");
    WizardDriver w(installer());
    ::SetCurrentDirectoryW(previous);
    if (!w.Frame()) {
        const zu_test::BoxSeen box = w.WaitForBox(1000);
        FAIL() << "no wizard; box: " << std::string(box.text.begin(), box.text.end());
    }

    w.ClickButton(kNext);
    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 4);
    ASSERT_EQ(w.ButtonText(kNext), L"Install");
    w.ClickButton(kNext);

    // While the product registers, the page answers at once and lets nothing be clicked.
    const std::wstring registering = LoadMessage(zu::MessageId(118));
    bool sawTheWait = false;
    std::wstring lastSeen;
    // The extraction of the whole payload comes first and takes a while under Wine.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(3);
    while (!sawTheWait && std::chrono::steady_clock::now() < deadline && w.ButtonText(kNext) != L"Next  >") {
        const std::wstring log = full_text(w.PageItem(1015));
        lastSeen = log.substr(log.size() > 200 ? log.size() - 200 : 0);
        const auto at = log.rfind(registering);
        if (at != std::wstring::npos && log.find(LoadMessage(zu::MessageId(11)), at) == std::wstring::npos &&
            log.find(LoadMessage(zu::MessageId(12)), at) == std::wstring::npos) {
            sawTheWait = true;
            EXPECT_TRUE(answers_within(w.Frame(), 1000)) << "the frame does not answer during the wait";
            EXPECT_TRUE(answers_within(w.Page(), 1000)) << "the page does not answer during the wait";
            EXPECT_TRUE(::RedrawWindow(w.Page(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN));
            EXPECT_FALSE(w.Enabled(w.Button(kNext)));
            EXPECT_FALSE(w.Enabled(w.Button(kBack)));
            EXPECT_FALSE(w.Enabled(w.Button(kCancel)));
            w.Screenshot("page4-registration-wait");
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    EXPECT_TRUE(sawTheWait) << "the registration run was never seen; the log ended with:\n"
                            << std::string(lastSeen.begin(), lastSeen.end());

    for (int i = 0; i < 1200 && w.ButtonText(kNext) != L"Next  >"; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_EQ(w.ButtonText(kNext), L"Next  >") << "the installation did not end";
    const std::wstring log = full_text(w.PageItem(1015));
    EXPECT_EQ(log.find(LoadMessage(zu::MessageId(12))), std::wstring::npos) << "a step failed:\n"
                                                                            << std::string(log.begin(), log.end());
    const std::wstring mainProgram = zu_test::shell_folder(CSIDL_PROGRAM_FILES) + L"\\Quillon\\Mobrix 6\\Mobrix.exe";
    EXPECT_NE(::GetFileAttributesW(mainProgram.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing was installed";

    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 5);
    w.ClickButton(kCancel);
    EXPECT_EQ(w.WaitForExit(), 0u);

}

}  // namespace
