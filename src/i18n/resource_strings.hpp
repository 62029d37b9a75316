// String resources by id: on Windows from the executable's string tables, natively from the
// catalogue built into the core from the same message texts.
#pragma once

#include <string>

namespace zu {

// The string with that id; empty when there is none (or it is empty).
std::wstring load_resource_string(unsigned id);

}  // namespace zu
