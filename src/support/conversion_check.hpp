// The runtime's character-conversion facilities, checked before the application starts.
#pragma once

namespace zu {

// True when the standard library's wide-to-narrow conversion facet of the user's default
// locale and the one used for file paths are both available.
bool conversion_facilities_available();

#ifdef _WIN32
// Shows "Initialization Error" and ends the process with -11 unless the facilities exist.
void require_conversion_facilities();
#endif

}  // namespace zu
