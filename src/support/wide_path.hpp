// Wide strings and file-system paths. On Windows a path is UTF-16 already; natively wide
// strings hold UTF-32 and are turned into UTF-8 here, whatever the process locale says.
#pragma once

#include <filesystem>
#include <string>

namespace zu {

std::filesystem::path to_path(const std::wstring& text);
std::wstring to_wide(const std::filesystem::path& path);

// UTF-8 text of a wide string (for the console and for logs).
std::string to_utf8(const std::wstring& text);
std::wstring from_utf8(const std::string& text);

// The separator the platform writes between path elements.
#ifdef _WIN32
constexpr wchar_t kPathSeparator = L'\\';
#else
constexpr wchar_t kPathSeparator = L'/';
#endif

}  // namespace zu
