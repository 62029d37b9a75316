// The payload manifest: one entry a line, "KIND | DESTINATION FOLDER | SOURCE FILE".
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "payload/payload_entry.hpp"

namespace installer_tool {

struct manifest_entry {
    std::uint32_t kind;
    std::wstring folder;              // as the archive stores it, macro included
    std::filesystem::path source;     // resolved against the manifest's folder
    int line;
};

class manifest_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raises manifest_error naming the file and line of the first bad line.
std::vector<manifest_entry> read_manifest(const std::filesystem::path& manifest);

// "standard_file" for 0 and so on; "kind N" for values outside the table.
std::string kind_name(std::uint32_t kind);

}  // namespace installer_tool
