// The "payload" subcommands. Each returns the process exit code and reports to the streams.
#pragma once

#include <string>
#include <vector>

namespace installer_tool {

int payload_build(const std::vector<std::string>& args);
int payload_list(const std::vector<std::string>& args);
int payload_verify(const std::vector<std::string>& args);
int payload_extract(const std::vector<std::string>& args);

}  // namespace installer_tool
