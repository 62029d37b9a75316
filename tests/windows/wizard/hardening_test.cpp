// A whole installation by a copy of the installer sitting among libraries named like those that
// programs commonly load by name (in its own folder and in its working folder), as a download
// folder may hold them: none of them may be loaded, the DirectX setup library's companion
// included. The same run shows that the wizard keeps answering while the registration run of
// the installed product is waited for.
#include <gtest/gtest.h>

#include <sstream>

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

bool answers_within(HWND window, unsigned milliseconds) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, milliseconds, &result) != 0;
}

class HijackFolder : public ::testing::Test {
protected:
    void SetUp() override {
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
    ASSERT_TRUE(w.Frame());

    w.ClickButton(kNext);
    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 4);
    ASSERT_EQ(w.ButtonText(kNext), L"Install");
    w.ClickButton(kNext);

    // While the product registers, the page answers at once and lets nothing be clicked.
    const std::wstring registering = LoadMessage(zu::MessageId(118));
    bool sawTheWait = false;
    for (int i = 0; i < 600 && !sawTheWait; ++i) {
        const std::wstring log = w.PageText(1015);
        const auto at = log.rfind(registering);
        if (at != std::wstring::npos && log.size() == at + registering.size()) {
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
    EXPECT_TRUE(sawTheWait) << "the registration run was never seen";

    for (int i = 0; i < 1200 && w.ButtonText(kNext) != L"Next  >"; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_EQ(w.ButtonText(kNext), L"Next  >") << "the installation did not end";
    const std::wstring log = w.PageText(1015);
    EXPECT_EQ(log.find(LoadMessage(zu::MessageId(12))), std::wstring::npos) << "a step failed:\n"
                                                                            << std::string(log.begin(), log.end());
    const std::wstring mainProgram = zu_test::shell_folder(CSIDL_PROGRAM_FILES) + L"\\Quillon\\Mobrix 6\\Mobrix.exe";
    EXPECT_NE(::GetFileAttributesW(mainProgram.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing was installed";

    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 5);
    w.ClickButton(kCancel);
    EXPECT_EQ(w.WaitForExit(), 0u);

    for (const std::wstring& folder : {installerFolder(), workingFolder()}) {
        for (const std::wstring& marker : markers_in(folder))
            ADD_FAILURE() << "loaded from " << std::string(folder.begin(), folder.end()) << ": "
                          << std::string(marker.begin(), marker.end());
    }
}

}  // namespace
