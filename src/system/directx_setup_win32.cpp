#include "system/directx_setup.hpp"

#include "support/windows_api.hpp"

namespace zu {
namespace {

// The setup interface's own signatures.
using GetVersionFunction = int(WINAPI*)(DWORD* version, DWORD* revision);
using SetupCallback = DWORD(WINAPI*)(DWORD reason, DWORD messageType, char* message, char* name, void* info);
using SetCallbackFunction = int(WINAPI*)(SetupCallback callback);
using SetupFunction = int(WINAPI*)(HWND parent, wchar_t* sourcePath, DWORD flags);

template <class Function>
Function Entry(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// The callback has no context argument; the pump of the one setup call in progress is held
// here for it (everything runs on the user-interface thread).
const std::function<void()>* activePump = nullptr;

void DispatchPendingMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The quit belongs to the application's own loop, which must still see it.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

DWORD WINAPI OnSetupProgress(DWORD reason, DWORD, char*, char*, void*) {
    if (reason == kDirectXProgressReason) {
        if (activePump && *activePump)
            (*activePump)();
        else
            DispatchPendingMessages();
    }
    return 1;
}

class ActivePumpScope {
public:
    explicit ActivePumpScope(const std::function<void()>& pump) : previous_(activePump) { activePump = &pump; }
    ~ActivePumpScope() { activePump = previous_; }
    ActivePumpScope(const ActivePumpScope&) = delete;
    ActivePumpScope& operator=(const ActivePumpScope&) = delete;

private:
    const std::function<void()>* previous_;
};

}  // namespace

void DirectXSetupLibrary::library_traits::close(value_type module) noexcept {
    ::FreeLibrary(static_cast<HMODULE>(module));
}

DirectXSetupLibrary::DirectXSetupLibrary(std::wstring folder) : folder_(std::move(folder)) {
    std::wstring path = folder_;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
    path += L"DSetup.dll";
    // By its full path, and its own imports (its companion dsetup32.dll) from its folder or the
    // system folder only: never from the installer's folder or the current one.
    module_.reset(::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32));
    // A system without those flags refuses them; its next best keeps the library's own folder
    // first for what it imports.
    if (!module_ && ::GetLastError() == ERROR_INVALID_PARAMETER)
        module_.reset(::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!module_) return;
    const auto getVersion = Entry<GetVersionFunction>(static_cast<HMODULE>(module_.get()), "DirectXSetupGetVersion");
    DWORD version = 0;
    DWORD revision = 0;
    if (!getVersion || getVersion(&version, &revision) == 0 || !DirectXVersionAccepted(version, revision))
        module_.reset();
}

bool DirectXSetupLibrary::loaded() const { return static_cast<bool>(module_); }

void DirectXSetupLibrary::Release() { module_.reset(); }

bool DirectXSetupLibrary::Run(void* parentWindow, const std::function<void()>& pumpMessages) {
    if (!module_) return false;
    const auto module = static_cast<HMODULE>(module_.get());
    const auto setCallback = Entry<SetCallbackFunction>(module, "DirectXSetupSetCallback");
    const auto setup = Entry<SetupFunction>(module, "DirectXSetupW");
    if (!setCallback || !setup) return false;
    ActivePumpScope pump(pumpMessages);
    setCallback(OnSetupProgress);
    std::wstring source = folder_;  // the call takes a writable string
    const int result = setup(static_cast<HWND>(parentWindow), source.data(), kDirectXSetupFlags);
    return result == 0 || result == 1;
}

}  // namespace zu
