// "installer-tool ulog show": what a support engineer sees of a log.
#include "journal_fixture.hpp"

#include <sstream>

#include "installer-tool/ulog_command.hpp"

using journal_test::JournalTest;
using journal_test::Utf16Log;
using journal_test::Utf8;

namespace {

struct UlogRun {
    int code;
    std::string out, err;
};

UlogRun Ulog(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    std::ostringstream out, err;
    const int code = run_ulog_command(static_cast<int>(argv.size()), argv.data(), out, err);
    return {code, out.str(), err.str()};
}

TEST_F(JournalTest, UlogShowPrintsHeaderValuesAsReadAndEveryEntry) {
    const std::wstring path = P(L"Uninstall.ulog");
    WriteBytes(path, Utf16Log({L"// Uninstall Log File v1", L"// w", L"// Install Mobrix 6.05h -- Update (Mobrix 6.05g)",
                               L"// Install Path : C:\\Program Files\\Quillon\\Mobrix 6",
                               L"// Shortcut Path : C:\\Menu\\\u5feb\u6377", L"// ---",
                               L"0000:00ff:1 -- C:\\Program Files\\Quillon\\Mobrix 6",
                               L"0001:0103:0 -- C:\\Data\\tab\there", L"0002:05ff:1 -- HKEY_LOCAL_MACHINE\\x",
                               L"0003:08ff:1 -- stops here"}));
    const UlogRun run = Ulog({"show", Utf8(path)});
    EXPECT_EQ(run.code, 0) << run.err;
    const std::string expected[] = {
        "version:       1\n",
        "product:       \"Mobrix 6.05h\"\n",
        // Not checked against this machine: shown as written.
        "install path:  \"C:\\Program Files\\Quillon\\Mobrix 6\"\n",
        "shortcut path: \"C:\\Menu\\\xE5\xBF\xAB\xE6\x8D\xB7\"\n",
        "entries:       3\n",
        "0000   Folder             -1      1     C:\\Program Files\\Quillon\\Mobrix 6\n",
        "0001   File               3       0     C:\\Data\\tab\\x09here\n",
        "0002   UninstallKey       -1      1     \n",
        "stopped at line 9 (counted from 0): not an entry line\n",
    };
    for (const std::string& line : expected) EXPECT_NE(run.out.find(line), std::string::npos) << line << "in\n" << run.out;
}

TEST_F(JournalTest, UlogShowReportsAFileItCannotRead) {
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string message;
    };
    const Case cases[] = {
        {{"show", root_ + "/missing.ulog"}, 1, "cannot read '" + root_ + "/missing.ulog': No such file or directory"},
        {{"show", root_}, 1, "cannot read '" + root_ + "': Is a directory"},
        {{"show"}, 2, "usage: installer-tool ulog show FILE"},
        {{"list", "x"}, 2, "usage:"},
    };
    for (const Case& c : cases) {
        const UlogRun run = Ulog(c.args);
        EXPECT_EQ(run.code, c.code) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

}  // namespace
