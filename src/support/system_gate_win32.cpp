#include "support/system_gate.hpp"

#include "support/windows_api.hpp"

namespace zu {
namespace {

os_version_record record_of(const OSVERSIONINFOEXW& info, bool extended) {
    os_version_record record;
    record.majorVersion = info.dwMajorVersion;
    record.minorVersion = info.dwMinorVersion;
    record.buildNumber = info.dwBuildNumber;
    record.platformId = info.dwPlatformId;
    if (extended) {
        record.servicePackMajor = info.wServicePackMajor;
        record.servicePackMinor = info.wServicePackMinor;
        record.suiteMask = info.wSuiteMask;
        record.productType = info.wProductType;
    }
    return record;
}

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
bool get_version(OSVERSIONINFOEXW& info, bool extended) {
    info = OSVERSIONINFOEXW{};
    info.dwOSVersionInfoSize = extended ? sizeof(OSVERSIONINFOEXW) : sizeof(OSVERSIONINFOW);
    return ::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)) != FALSE;
}
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

class win32_system_queries final : public system_queries {
public:
    bool processor_has_sse2() const override {
        return ::IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != FALSE;
    }
    bool read_version(os_version_record& version) const override {
        OSVERSIONINFOEXW info;
        if (!get_version(info, true)) return false;
        version = record_of(info, true);
        return true;
    }
};

}  // namespace

const system_queries& platform_system_queries() {
    static const win32_system_queries queries;
    return queries;
}

void refuse_system(const wchar_t* text) {
    ::MessageBoxW(nullptr, text, nullptr, MB_OK | MB_ICONSTOP);
    ::ExitProcess(1);
}

std::wstring global_object_prefix() {
    static const os_version_record version = [] {
        OSVERSIONINFOEXW info;
        if (get_version(info, true)) return record_of(info, true);
        if (get_version(info, false)) return record_of(info, false);
        return os_version_record{};
    }();
    return object_prefix_for(version);
}

}  // namespace zu
