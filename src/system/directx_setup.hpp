// The DirectX setup library carried in the payload ("DSetup.dll" in the installation's
// temporary folder), loaded by its full path and kept only when the DirectX it reports is
// recent enough to be worth updating with it (version 4.09, revision 903 or later).
//
// Windows only in effect: natively no library can be loaded, so the object never holds one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "support/unique_resource.hpp"

namespace zu {

constexpr std::uint32_t kDirectXMinimumVersion = 0x00040009;
constexpr std::uint32_t kDirectXMinimumRevision = 903;
// DSETUP_DIRECTX: the core runtime with the display and sound drivers.
constexpr std::uint32_t kDirectXSetupFlags = 0x00010018;
// The callback's reason for "the setup is making progress".
constexpr std::uint32_t kDirectXProgressReason = 18;

// Whether the reported DirectX passes the version test.
constexpr bool DirectXVersionAccepted(std::uint32_t version, std::uint32_t revision) {
    return version >= kDirectXMinimumVersion && revision >= kDirectXMinimumRevision;
}

class DirectXSetupLibrary {
public:
    // Loads folder\DSetup.dll; releases it again at once when its version entry point is
    // missing, fails, or reports a DirectX that fails the version test.
    explicit DirectXSetupLibrary(std::wstring folder);
    DirectXSetupLibrary(const DirectXSetupLibrary&) = delete;
    DirectXSetupLibrary& operator=(const DirectXSetupLibrary&) = delete;

    bool loaded() const;
    const std::wstring& folder() const { return folder_; }

    // Runs the setup on the setup files of folder() with parentWindow (an HWND, may be null) as
    // the owner of its windows. While it runs, every progress callback first calls
    // pumpMessages, or, when none is given, dispatches the thread's pending window messages
    // itself. False when no library is held, an entry point is missing, or the setup answered
    // anything but 0 (done) or 1 (done, restart needed).
    bool Run(void* parentWindow, const std::function<void()>& pumpMessages = {});

    // Releases the library (also done when the object goes away).
    void Release();

private:
    struct library_traits {
        using value_type = void*;
        static value_type invalid() noexcept { return nullptr; }
        static void close(value_type module) noexcept;
    };

    std::wstring folder_;
    unique_resource<library_traits> module_;
};

}  // namespace zu
