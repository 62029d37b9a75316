// The small archive that the Windows payload tests carry as their own resource 260/134. Shared
// by its build-time generator and the tests, which compare what they extract with it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zu::test {

struct test_payload_file {
    std::wstring source;
    std::wstring folder;
    std::uint32_t kind;
    std::string content;
};

// Bytes that vary enough to catch a misplaced block; the same on every compiler.
inline std::string test_bytes(std::size_t size, std::uint32_t seed) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        seed = seed * 1664525u + 1013904223u;
        bytes[i] = static_cast<char>(seed >> 24);
    }
    return bytes;
}

inline std::vector<test_payload_file> test_payload_files() {
    return {
        {L"C:\\build\\bin\\Mobrix.exe", L"<InstallPath>", 1, test_bytes(9000, 1)},
        {L"C:\\build\\bin\\Uninstall.exe", L"<InstallPath>", 2, test_bytes(4100, 2)},
        {L"C:\\build\\lang\\Mobrix.de.dll", L"<InstallPath>\\Lang", 0, test_bytes(4096, 3)},
        {L"C:\\build\\samples\\First Steps.mbx", L"<SamplePath>\\First", 4, test_bytes(123, 4)},
        {L"C:\\build\\empty.txt", L"<InstallPath>", 0, std::string()},
        {L"C:\\build\\dx\\dxsetup.dat", L"<Temporary>", 5, test_bytes(50, 5)},
    };
}

}  // namespace zu::test
