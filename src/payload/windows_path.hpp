// Path elements of the archive's paths. They were written on Windows, so '\' and '/' both
// separate elements on every platform; results are joined with the platform's own separator.
#pragma once

#include <string>
#include <vector>

namespace zu {

// The elements between separators, empty ones dropped.
std::vector<std::wstring> split_path_elements(const std::wstring& path);

// Appends one element with a single separator; none is added when base is empty or already
// ends with a separator.
void append_path_element(std::wstring& base, const std::wstring& element);

// The last element of a path: what follows its last separator (empty when it ends with one).
std::wstring file_name_of(const std::wstring& path);

// True for a name that Windows reads as one file of that very name: not empty, not "." or "..",
// free of control characters and of < > : " / \ | ? *, not ending in a dot or a blank, and not
// a device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9), with or without an extension.
bool is_valid_file_name(const std::wstring& name);

}  // namespace zu
