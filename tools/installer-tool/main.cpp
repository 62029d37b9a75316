// installer-tool: builds, lists, verifies and extracts the installer's payload archives, and
// shows what the installer reads from an uninstall log.
#include <boost/iostreams/filter/bzip2.hpp>

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "manifest.hpp"
#include "payload/pe_resource.hpp"
#include "payload_commands.hpp"
#include "ulog_command.hpp"

namespace {

const char* const kUsage =
    "usage: installer-tool payload build MANIFEST OUT\n"
    "       installer-tool payload list IN\n"
    "       installer-tool payload verify IN\n"
    "       installer-tool payload extract IN --install-root DIR [--sample-folder NAME] [--temp-root DIR]\n"
    "                                         [--folder NAME=DIR ...]\n"
    "       installer-tool ulog show FILE\n"
    "IN is a payload archive or a built installer executable (its resource 260/134).\n";

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (!words.empty() && words[0] == "ulog") return run_ulog_command(argc - 2, argv + 2);
    if (words.size() < 2 || words[0] != "payload") {
        std::cerr << kUsage;
        return 2;
    }
    const std::string& command = words[1];
    const std::vector<std::string> args(words.begin() + 2, words.end());
    try {
        if (command == "build") return installer_tool::payload_build(args);
        if (command == "list") return installer_tool::payload_list(args);
        if (command == "verify") return installer_tool::payload_verify(args);
        if (command == "extract") return installer_tool::payload_extract(args);
        std::cerr << "unknown command payload " << command << "\n" << kUsage;
        return 2;
    } catch (const installer_tool::manifest_error& e) {
        std::cerr << "error: " << e.what() << "\n";
    } catch (const boost::iostreams::bzip2_error& e) {
        std::cerr << "error: the compressed payload is damaged (bzip2 error " << e.error() << ")\n";
    } catch (const std::system_error& e) {
        if (e.code().category().name() == std::string("compress")) {
            std::cerr << "error: the archive is malformed: " << e.code().message() << "\n";
        } else if (auto fs_error = dynamic_cast<const std::filesystem::filesystem_error*>(&e)) {
            std::cerr << "error: " << fs_error->path1().string() << ": " << e.code().message() << "\n";
        } else {
            std::cerr << "error: " << e.what() << "\n";
        }
    } catch (const std::exception& e) {
        std::cerr << "error: " << e.what() << "\n";
    }
    return 1;
}
