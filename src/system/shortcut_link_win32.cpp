#include "system/shortcut_link.hpp"

#include "support/unique_resource.hpp"
#include "support/windows_api.hpp"

namespace zu {
namespace {

// Pairs a successful CoInitialize with its CoUninitialize; declared before the COM objects so
// that they are released while the library is still initialised.
class ComScope {
public:
    ComScope() {
        const HRESULT result = ::CoInitialize(nullptr);
        ok_ = result == S_OK || result == S_FALSE;
    }
    ~ComScope() {
        if (ok_) ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

}  // namespace

ShortcutResult CreateShortcut(const std::wstring& target, const std::wstring& folder,
                              const std::optional<std::wstring>& name) {
    if (target.size() >= MAX_PATH || folder.size() >= MAX_PATH) return {};
    wchar_t workingFolder[MAX_PATH];
    ::lstrcpynW(workingFolder, target.c_str(), MAX_PATH);
    if (!::PathRemoveFileSpecW(workingFolder)) return {};

    std::wstring linkName;
    if (name) {
        linkName = *name;
    } else {
        wchar_t fileName[MAX_PATH];
        ::lstrcpynW(fileName, ::PathFindFileNameW(target.c_str()), MAX_PATH);
        ::PathRemoveExtensionW(fileName);
        linkName = fileName;
    }

    wchar_t linkPath[MAX_PATH];
    ::lstrcpynW(linkPath, folder.c_str(), MAX_PATH);
    if (linkName.size() >= MAX_PATH || !::PathAppendW(linkPath, linkName.c_str())) return {};
    std::wstring link = linkPath;
    link += L".lnk";
    if (link.size() >= MAX_PATH) return {};

    ComScope com;
    if (!com.ok()) return {};
    unique_com<IShellLinkW> shellLink;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(shellLink.put()))))
        return {};
    shellLink.get()->SetPath(target.c_str());
    shellLink.get()->SetWorkingDirectory(workingFolder);

    unique_com<IPersistFile> file;
    if (FAILED(shellLink.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put())))) return {};
    if (FAILED(file.get()->Save(link.c_str(), TRUE))) return {};
    return {true, link};
}

}  // namespace zu
