// The shell's rule for showing a path in messages and on command lines: copied into a buffer of
// 260 characters (longer paths are cut to 259) and put in double quotes when it holds a blank,
// provided the quoted text leaves a spare character in the buffer, as the shell's own rule does.
#pragma once

#include <string>

namespace zu {

constexpr std::size_t kPathBufferLength = 260;  // characters, the terminator included

std::wstring QuoteSpaces(const std::wstring& path);

}  // namespace zu
