#include "payload/destination_macros.hpp"

#include "payload/windows_path.hpp"
#include "support/wide_path.hpp"

namespace zu {
namespace {

const wchar_t* const kInstallPath = L"<InstallPath>";
const wchar_t* const kSamplePath = L"<SamplePath>";
const wchar_t* const kTemporary = L"<Temporary>";

const std::vector<special_macro> kSpecialMacros = {
    {L"<ProgramFiles>", csidl::program_files, csidl::none},
    {L"<ProgramCommon>", csidl::program_files_common, csidl::none},
    {L"<CommonData>", csidl::common_appdata, csidl::appdata},
    {L"<UserData>", csidl::appdata, csidl::none},
    {L"<CommonDocuments>", csidl::common_documents, csidl::personal},
    {L"<Documents>", csidl::personal, csidl::none},
    {L"<CommonDesktop>", csidl::common_desktop_directory, csidl::desktop_directory},
    {L"<Desktop>", csidl::desktop_directory, csidl::none},
    {L"<WinDir>", csidl::windows, csidl::none},
    {L"<System>", csidl::system, csidl::none},
};

std::wstring sample_path(const destination_roots& roots, const special_folders& folders) {
    if (!roots.sample_folder.empty() && to_path(roots.sample_folder).is_absolute()) return roots.sample_folder;
    std::wstring desktop =
        lookup_special_folder(folders, csidl::common_desktop_directory, csidl::desktop_directory);
    if (!roots.sample_folder.empty()) append_path_element(desktop, roots.sample_folder);
    return desktop;
}

std::wstring macro_base(const std::wstring& macro, const destination_roots& roots, const special_folders& folders) {
    if (macro == kInstallPath) return roots.install_root;
    if (macro == kSamplePath) return sample_path(roots, folders);
    for (const special_macro& m : kSpecialMacros) {
        if (macro == m.name) return lookup_special_folder(folders, m.folder, m.fallback);
    }
    if (macro == kTemporary) return roots.temp_folder.empty() ? roots.install_root : roots.temp_folder;
    return {};
}

}  // namespace

const std::vector<special_macro>& special_folder_macros() { return kSpecialMacros; }

bool is_destination_macro(const std::wstring& element) {
    if (element == kInstallPath || element == kSamplePath || element == kTemporary) return true;
    for (const special_macro& m : kSpecialMacros) {
        if (element == m.name) return true;
    }
    return false;
}

std::wstring expand_destination(const std::wstring& folder, const destination_roots& roots,
                                const special_folders& folders) {
    std::vector<std::wstring> elements = split_path_elements(folder);
    if (elements.empty()) return folder;
    // A leading separator is a root element of its own, never a macro.
    if (folder.front() == L'\\' || folder.front() == L'/') return folder;
    const std::wstring& first = elements.front();
    if (first.front() != L'<' || first.back() != L'>') return folder;

    std::wstring base = macro_base(first, roots, folders);
    for (std::size_t i = 1; i < elements.size(); ++i) append_path_element(base, elements[i]);
    return base;
}

}  // namespace zu
