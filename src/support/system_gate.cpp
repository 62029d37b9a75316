#include "support/system_gate.hpp"

namespace zu {
namespace {

bool gatePassed = false;  // constant-initialised: valid before any static initialiser runs

}  // namespace

// Line feeds only between the languages: the box is the only reader.
const wchar_t* const kIncompatibleSystemText =
    L"This Version is not compatible with your Configuration.\n\n"
    L"Cette version n'est pas compatible avec votre configuration.\n\n"
    L"Diese Version ist nicht mit Ihrer Konfiguration kompatibel.";
const wchar_t* const kVersionUnreadableText = L"GetVersionEx() failed";
const wchar_t* const kUnknownSystemVersionText = L"Unknown System Version";

system_verdict judge_system(bool processorHasSse2, const os_version_record* version) {
    if (!processorHasSse2) return system_verdict::incompatible;
    if (!version) return system_verdict::version_unreadable;
    if (version->majorVersion != 5) return system_verdict::pass;
    switch (version->minorVersion) {
    case 1:  // Windows XP
        return version->servicePackMajor >= 3 ? system_verdict::pass : system_verdict::incompatible;
    case 2:  // Windows Server 2003, Windows XP x64
        return version->servicePackMajor >= 2 ? system_verdict::pass : system_verdict::incompatible;
    default:  // 5.0 is Windows 2000
        return system_verdict::unknown_version;
    }
}

const wchar_t* system_refusal_text(system_verdict verdict) {
    switch (verdict) {
    case system_verdict::incompatible: return kIncompatibleSystemText;
    case system_verdict::version_unreadable: return kVersionUnreadableText;
    case system_verdict::unknown_version: return kUnknownSystemVersionText;
    case system_verdict::pass: break;
    }
    return nullptr;
}

bool check_system(const system_queries& queries) {
    if (!queries.processor_has_sse2()) refuse_system(kIncompatibleSystemText);
    os_version_record version;
    const bool read = queries.read_version(version);
    const system_verdict verdict = judge_system(true, read ? &version : nullptr);
    if (verdict != system_verdict::pass) refuse_system(system_refusal_text(verdict));
    return true;
}

bool check_system() {
    return check_system(platform_system_queries());
}

void record_system_gate(bool passed) noexcept {
    gatePassed = passed;
}

bool system_gate_passed() noexcept {
    return gatePassed;
}

std::wstring object_prefix_for(const os_version_record& version) {
    constexpr std::uint32_t ntFamily = 2;
    return version.platformId == ntFamily && version.majorVersion >= 5 ? L"Global\\" : L"";
}

}  // namespace zu
