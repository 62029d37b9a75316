#include "manifest.hpp"

#include <fstream>

#include "payload/destination_macros.hpp"
#include "payload/windows_path.hpp"
#include "support/wide_path.hpp"

namespace installer_tool {
namespace {

const char* const kKindNames[] = {"standard_file", "main_program", "uninstaller",
                                  "shared_data",   "sample_data",  "temporary_file"};

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::uint32_t parse_kind(const std::string& field) {
    for (std::uint32_t k = 0; k < std::size(kKindNames); ++k) {
        if (field == kKindNames[k] || field == std::to_string(k)) return k;
    }
    throw std::invalid_argument("unknown kind \"" + field + "\" (expected 0 to 5 or standard_file, main_program, "
                                "uninstaller, shared_data, sample_data, temporary_file)");
}

void check_folder(const std::wstring& folder) {
    if (folder.empty()) throw std::invalid_argument("empty destination folder");
    const std::vector<std::wstring> elements = zu::split_path_elements(folder);
    if (!elements.empty() && elements.front().front() == L'<' && !zu::is_destination_macro(elements.front())) {
        throw std::invalid_argument("unknown macro " + zu::to_utf8(elements.front()) +
                                    " (the installer would drop it and write relative to its working folder)");
    }
}

}  // namespace

std::string kind_name(std::uint32_t kind) {
    return kind < std::size(kKindNames) ? kKindNames[kind] : "kind " + std::to_string(kind);
}

std::vector<manifest_entry> read_manifest(const std::filesystem::path& manifest) {
    std::ifstream in(manifest);
    if (!in) throw manifest_error(manifest.string() + ": cannot open the manifest");
    const std::filesystem::path base = manifest.parent_path();
    std::vector<manifest_entry> entries;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        const std::string content = trim(text);
        if (content.empty() || content.front() == '#') continue;
        try {
            const auto bar1 = content.find('|');
            const auto bar2 = bar1 == std::string::npos ? bar1 : content.find('|', bar1 + 1);
            if (bar2 == std::string::npos || content.find('|', bar2 + 1) != std::string::npos) {
                throw std::invalid_argument("expected KIND | DESTINATION FOLDER | SOURCE FILE");
            }
            manifest_entry e;
            e.kind = parse_kind(trim(content.substr(0, bar1)));
            e.folder = zu::from_utf8(trim(content.substr(bar1 + 1, bar2 - bar1 - 1)));
            check_folder(e.folder);
            const std::string source = trim(content.substr(bar2 + 1));
            if (source.empty()) throw std::invalid_argument("empty source file");
            e.source = std::filesystem::absolute(base / source).lexically_normal();
            const std::wstring name = zu::file_name_of(zu::to_wide(e.source));
            if (!zu::is_valid_file_name(name)) {
                throw std::invalid_argument("\"" + zu::to_utf8(name) + "\" is not a valid Windows file name");
            }
            e.line = line;
            entries.push_back(std::move(e));
        } catch (const std::invalid_argument& bad) {
            throw manifest_error(manifest.string() + ":" + std::to_string(line) + ": " + bad.what());
        }
    }
    if (in.bad()) throw manifest_error(manifest.string() + ": cannot read the manifest");
    return entries;
}

}  // namespace installer_tool
