#include "support/system_gate.hpp"
#include "support/windows_api.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/child_process.hpp"

namespace {

std::string escaped(const wchar_t* text) {
    std::string result;
    for (const wchar_t* p = text; *p; ++p) result += *p == L'\n' ? std::string("\\n") : std::string(1, static_cast<char>(*p));
    return result;
}

bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

struct GateRow {
    const char* sse2;
    const char* readable;
    const char* major;
    const char* minor;
    const char* servicePack;
    const wchar_t* refusal;  // null: the gate passes
};

std::wstring wide(const char* text) {
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

}  // namespace

TEST(SystemGate, EveryRowOfTheTableInItsOwnProcess) {
    const GateRow rows[] = {
        {"1", "1", "5", "0", "4", zu::kUnknownSystemVersionText},
        {"1", "1", "5", "1", "0", zu::kIncompatibleSystemText},
        {"1", "1", "5", "1", "2", zu::kIncompatibleSystemText},
        {"1", "1", "5", "1", "3", nullptr},
        {"1", "1", "5", "2", "1", zu::kIncompatibleSystemText},
        {"1", "1", "5", "2", "2", nullptr},
        {"1", "1", "5", "3", "9", zu::kUnknownSystemVersionText},
        {"1", "1", "6", "1", "1", nullptr},
        {"1", "1", "10", "0", "0", nullptr},
        {"1", "0", "10", "0", "0", zu::kVersionUnreadableText},
        {"0", "1", "10", "0", "0", zu::kIncompatibleSystemText},
    };
    const std::wstring helper = testing_support::beside_this_program(wide(ZU_GATE_HELPER));
    for (const GateRow& row : rows) {
        const std::string label = std::string("sse2 ") + row.sse2 + " read " + row.readable + " " + row.major + "." +
                                  row.minor + " SP" + row.servicePack;
        testing_support::temp_file reportFile;
        testing_support::child_process child(helper, {reportFile.path(), wide(row.sse2), wide(row.readable),
                                                      wide(row.major), wide(row.minor), wide(row.servicePack)});
        ASSERT_TRUE(child.started()) << label;
        std::optional<DWORD> exitCode = child.wait();
        ASSERT_TRUE(exitCode) << label << ": the helper did not end";
        const std::vector<std::string> lines = reportFile.lines();

        // The installer's own gate ran before any ordinary static object.
        EXPECT_TRUE(has(lines, "flag-before-statics=1")) << label;
        // The processor is asked first: no version read without SSE2.
        EXPECT_EQ(has(lines, "version-read"), std::string(row.sse2) == "1") << label;

        if (!row.refusal) {
            EXPECT_EQ(*exitCode, 0u) << label;
            EXPECT_TRUE(has(lines, "passed")) << label;
            EXPECT_TRUE(has(lines, "destructor")) << label;
            EXPECT_FALSE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("text=", 0) == 0; }))
                << label << ": a passing system saw a message box";
            continue;
        }
        EXPECT_EQ(*exitCode, 1u) << label;
        EXPECT_TRUE(has(lines, "text=" + escaped(row.refusal))) << label;
        EXPECT_TRUE(has(lines, "owner=none")) << label;
        EXPECT_TRUE(has(lines, "icon=stop")) << label;
        EXPECT_TRUE(has(lines, "buttons=1")) << label << ": OK alone";
        EXPECT_TRUE(has(lines, "caption=Error")) << label << ": the system's default caption";
        // Nothing runs after the refusal: not the caller, not the static destructors.
        EXPECT_FALSE(has(lines, "passed")) << label;
        EXPECT_FALSE(has(lines, "destructor")) << label;
    }
}

TEST(SystemGate, RealSystemPassesAndGivesTheGlobalPrefix) {
    const zu::system_queries& system = zu::platform_system_queries();
    EXPECT_TRUE(system.processor_has_sse2());
    zu::os_version_record version;
    ASSERT_TRUE(system.read_version(version));
    EXPECT_EQ(version.platformId, 2u);
    EXPECT_GE(version.majorVersion, 5u);
    EXPECT_TRUE(zu::check_system());
    EXPECT_EQ(zu::global_object_prefix(), L"Global\\");
}
