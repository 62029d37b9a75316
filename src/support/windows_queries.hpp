// Small questions to the system that several parts of the installer ask.
#pragma once

#ifdef _WIN32
#include <cstddef>

namespace zu {

// True on Windows 6.0 and later; asked once and kept for the life of the process.
// A failed verification counts as an older system.
bool is_vista_or_later();

// Fills buffer (261 characters) with the system's Windows folder: on a terminal server the
// shared system folder rather than the user's private one.
void windows_directory(wchar_t (&buffer)[261]);

}  // namespace zu
#endif
