#include "support/object_names.hpp"
#include "support/system_gate.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

zu::os_version_record version(std::uint32_t major, std::uint32_t minor, std::uint16_t servicePack,
                              std::uint32_t platform = 2) {
    zu::os_version_record record;
    record.majorVersion = major;
    record.minorVersion = minor;
    record.servicePackMajor = servicePack;
    record.platformId = platform;
    return record;
}

class chosen_system final : public zu::system_queries {
public:
    chosen_system(bool sse2, const zu::os_version_record* version) : sse2_(sse2), version_(version) {}
    bool processor_has_sse2() const override { return sse2_; }
    bool read_version(zu::os_version_record& record) const override {
        ++reads;
        std::fputs("version-read\n", stderr);  // seen by the death tests
        std::fflush(stderr);
        if (version_) record = *version_;
        return version_ != nullptr;
    }
    mutable int reads = 0;

private:
    bool sse2_;
    const zu::os_version_record* version_;
};

}  // namespace

TEST(SystemGateTable, EveryRow) {
    using zu::system_verdict;
    struct Row {
        std::uint32_t major, minor;
        std::uint16_t servicePackFrom, servicePackTo;
        system_verdict verdict;
    } rows[] = {
        {5, 0, 0, 6, system_verdict::unknown_version},  // Windows 2000
        {5, 1, 0, 2, system_verdict::incompatible},     // XP before SP3
        {5, 1, 3, 9, system_verdict::pass},
        {5, 2, 0, 1, system_verdict::incompatible},     // Server 2003 / XP x64 before SP2
        {5, 2, 2, 9, system_verdict::pass},
        {5, 3, 0, 9, system_verdict::unknown_version},
        {5, 99, 0, 3, system_verdict::unknown_version},
        {6, 0, 0, 2, system_verdict::pass},
        {6, 1, 0, 1, system_verdict::pass},
        {6, 3, 0, 0, system_verdict::pass},
        {10, 0, 0, 0, system_verdict::pass},
        {4, 0, 0, 6, system_verdict::pass},  // any major other than 5
        {0, 0, 0, 0, system_verdict::pass},
    };
    for (const Row& row : rows) {
        for (std::uint16_t sp = row.servicePackFrom; sp <= row.servicePackTo; ++sp) {
            zu::os_version_record record = version(row.major, row.minor, sp);
            EXPECT_EQ(zu::judge_system(true, &record), row.verdict) << row.major << "." << row.minor << " SP" << sp;
            // Without SSE2 nothing passes, and the version does not matter.
            EXPECT_EQ(zu::judge_system(false, &record), system_verdict::incompatible);
        }
    }
    EXPECT_EQ(zu::judge_system(true, nullptr), system_verdict::version_unreadable);
    EXPECT_EQ(zu::judge_system(false, nullptr), system_verdict::incompatible);
}

TEST(SystemGateTable, RefusalTexts) {
    EXPECT_EQ(std::wstring(zu::system_refusal_text(zu::system_verdict::incompatible)),
              L"This Version is not compatible with your Configuration.\n\n"
              L"Cette version n'est pas compatible avec votre configuration.\n\n"
              L"Diese Version ist nicht mit Ihrer Konfiguration kompatibel.");
    EXPECT_EQ(std::wstring(zu::system_refusal_text(zu::system_verdict::version_unreadable)), L"GetVersionEx() failed");
    EXPECT_EQ(std::wstring(zu::system_refusal_text(zu::system_verdict::unknown_version)), L"Unknown System Version");
    EXPECT_EQ(zu::system_refusal_text(zu::system_verdict::pass), nullptr);
}

TEST(SystemGateTable, PassingSystemReturnsTrueAfterAskingBoth) {
    zu::os_version_record xp3 = version(5, 1, 3);
    chosen_system system(true, &xp3);
    EXPECT_TRUE(zu::check_system(system));
    EXPECT_EQ(system.reads, 1);
}

TEST(SystemGateDeathTest, RefusalsEndTheProcessWithCodeOne) {
    zu::os_version_record w2000 = version(5, 0, 4);
    zu::os_version_record xp2 = version(5, 1, 2);
    zu::os_version_record srv2003 = version(5, 2, 0);
    zu::os_version_record win10 = version(10, 0, 0);
    const auto exitOne = ::testing::ExitedWithCode(1);
    EXPECT_EXIT(zu::check_system(chosen_system(true, &w2000)), exitOne, "^version-read\nUnknown System Version\n$");
    EXPECT_EXIT(zu::check_system(chosen_system(true, &xp2)), exitOne,
                "^version-read\nThis Version is not compatible with your Configuration.\n\nCette version");
    EXPECT_EXIT(zu::check_system(chosen_system(true, &srv2003)), exitOne, "\n\nDiese Version ist nicht mit Ihrer Konfiguration kompatibel.\n$");
    EXPECT_EXIT(zu::check_system(chosen_system(true, nullptr)), exitOne, "^version-read\nGetVersionEx\\(\\) failed\n$");
    // No SSE2: refused before the version is read (the reader would have passed Windows 10).
    EXPECT_EXIT(zu::check_system(chosen_system(false, &win10)), exitOne, "^This Version is not compatible");
}

TEST(ObjectPrefix, GlobalOnlyForTheNtFamilyFromVersionFive) {
    struct Case {
        std::uint32_t platform, major;
        const wchar_t* prefix;
    } cases[] = {
        {2, 5, L"Global\\"}, {2, 6, L"Global\\"}, {2, 10, L"Global\\"}, {2, 4, L""},
        {1, 4, L""},         {1, 5, L""},         {0, 10, L""},         {3, 10, L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zu::object_prefix_for(version(c.major, 0, 0, c.platform)), c.prefix) << c.platform << " " << c.major;
    EXPECT_EQ(zu::object_prefix_for(zu::os_version_record{}), L"");  // a failed read
    EXPECT_EQ(zu::global_object_prefix(), L"");  // no logon-session namespaces here
}

TEST(ObjectNames, StemDotGuid) {
    EXPECT_EQ(zu::installer_mutex_name(), L"Mobrix6.{5ead623c-dfcd-474d-8e3c-e6978cac039e}");
    EXPECT_EQ(zu::running_product_counter_name(), L"Mobrix6.{a3526b56-ca7c-4e16-8a26-da7758a378fd}");
}
