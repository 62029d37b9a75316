// Path rules of the folder pages and their folder browser, on Windows path texts ("\"
// separators, drive roots such as "C:\"), without asking the system. Comparisons of path
// components ignore case, as the file system does.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace zu {

constexpr std::uint32_t kErrorFilenameTooLong = 0x800700CEu;  // HRESULT of ERROR_FILENAME_EXCED_RANGE
constexpr std::uint32_t kErrorBadPathname = 161;             // ERROR_BAD_PATHNAME
constexpr std::size_t kPathBuffer = 260;                     // characters, terminator included

// Neither invalid in a path (control characters, '"', '<', '>', '|') nor a wildcard.
bool IsValidPathChar(wchar_t c);
bool IsValidPathText(const std::wstring& text);

// "." and ".." steps resolved (never above the root), doubled separators and a leading ".\"
// removed. A root keeps its backslash ("C:\").
std::wstring CanonicalPath(const std::wstring& path);

// from and to taken as folders: the relative text that leads from one to the other
// ("Programs\Quillon\Mobrix 6", "..\Other", "" when they are the same folder). When they have
// no root in common there is no relative form and to is given back unchanged.
std::wstring RelativeFolder(const std::wstring& from, const std::wstring& to);

// text resolved against root: an absolute text replaces root, a text starting with "\" keeps
// root's drive, anything else is appended; the result is canonical.
std::wstring CombinePath(const std::wstring& root, const std::wstring& text);

// Appends to path the part of subFolder it does not already end with: nothing when path ends
// with all of subFolder (and has more components), otherwise the components of subFolder
// after the longest leading part of it that path ends with. With rootParent given, the result
// is made relative to it.
std::wstring ProposeSubFolder(const std::wstring& path, const std::wstring& subFolder,
                              const std::wstring& rootParent = std::wstring());

// Qualifies text against base (an absolute folder); 0 and the full path, or an error code.
using PathQualifier = std::function<std::uint32_t(const std::wstring& text, const std::wstring& base,
                                                  std::wstring& qualified)>;
// The system-free qualifier: CombinePath against base, failing with 161 beyond the buffer.
std::uint32_t QualifyAgainst(const std::wstring& text, const std::wstring& base, std::wstring& qualified);

struct TypedPathContext {
    std::wstring currentDirectory;           // the process's current directory
    std::uint32_t currentDirectoryError = 0; // why it could not be read (0: it was)
    std::wstring rootParent;                 // empty when the browser has no root
    PathQualifier qualify = QualifyAgainst;
};

struct TypedPathResult {
    std::uint32_t error = 0;  // 0 when accepted
    std::wstring path;        // the qualified, absolute path when accepted
};

// The check of a text typed into the folder browser: too long (0x800700CE), blanks and a
// trailing backslash removed, "X:" made the drive's root, empty meaning the current
// directory, then qualified against rootParent (or the current directory) and accepted only
// inside rootParent and without invalid or wildcard characters (else 161).
TypedPathResult ValidateTypedPath(const std::wstring& typed, const TypedPathContext& context);

}  // namespace zu
