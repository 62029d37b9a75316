// The system gate: before anything else runs, the process refuses a computer it cannot run on
// (a processor without SSE2, Windows 2000, Windows XP before Service Pack 3, Windows Server
// 2003 or XP x64 before Service Pack 2, unknown 5.x versions). A refused system sees a fixed
// message box and the process ends at once with exit code 1.
//
// The decision is a plain function over a version record and the processor's answer; the
// queries that feed it sit behind system_queries, so that any system can be stood for.
#pragma once

#include <cstdint>
#include <string>

namespace zu {

// What the gate and the object prefix read of the system's version (the extended Windows
// version record). Fields the system does not report stay zero.
struct os_version_record {
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t buildNumber = 0;
    std::uint32_t platformId = 0;  // 2: the NT family
    std::uint16_t servicePackMajor = 0;
    std::uint16_t servicePackMinor = 0;
    std::uint16_t suiteMask = 0;
    std::uint8_t productType = 0;
};

enum class system_verdict {
    pass,
    incompatible,        // no SSE2, or a service pack below the minimum
    version_unreadable,  // the version could not be read
    unknown_version,     // Windows 2000 or an unknown 5.x minor version
};

// The texts of the refusals, fixed (the user's language is not known yet).
extern const wchar_t* const kIncompatibleSystemText;
extern const wchar_t* const kVersionUnreadableText;
extern const wchar_t* const kUnknownSystemVersionText;

// The gate's decision table. version is null when it could not be read.
system_verdict judge_system(bool processorHasSse2, const os_version_record* version);

// The message shown for a refusal; null for pass.
const wchar_t* system_refusal_text(system_verdict verdict);

// The questions the gate asks of the system.
class system_queries {
public:
    virtual ~system_queries() = default;
    virtual bool processor_has_sse2() const = 0;
    // Fills a zeroed record; false when the version cannot be read.
    virtual bool read_version(os_version_record& version) const = 0;
};

// The running system's answers (Windows: IsProcessorFeaturePresent and GetVersionExW; POSIX: the
// processor's feature bits and an empty record that stands for "no Windows 5.x").
const system_queries& platform_system_queries();

// Shows text in a message box with no owner, the system's default caption and the stop icon
// only (style 0x10), then ends the process at once with exit code 1: no destructor or later
// initialiser runs. (POSIX: the text goes to standard error.)
[[noreturn]] void refuse_system(const wchar_t* text);

// True, or refuses the system and does not return. The processor is asked first; the version
// is not read for a processor without SSE2.
bool check_system(const system_queries& queries);
bool check_system();

// The system-gate flag: false at process start, set by the static initialiser that runs the
// gate (before the application object exists). False later only if the gate did not run.
void record_system_gate(bool passed) noexcept;
bool system_gate_passed() noexcept;

// "Global\\" for the NT family (platform id 2) from version 5 on, else empty: the prefix that
// makes a named kernel object visible to every logon session.
std::wstring object_prefix_for(const os_version_record& version);

// object_prefix_for the running system's version, read once per process (the extended record,
// else the basic one; a failed read leaves the record zeroed and the prefix empty).
std::wstring global_object_prefix();

}  // namespace zu
