// The places the process looks for a library named without a folder. An installer is often
// started from a downloads folder that anyone could have put a library into; restricted, only
// the system folder is searched. Windows build only.
#pragma once

namespace zu {

// Restricts the default search to the system folder (SetDefaultDllDirectories, looked up in
// kernel32 since older systems lack it) and drops the current folder from it in every case.
// True when the restriction to the system folder is in force.
bool RestrictDllSearchToSystemFolder();

}  // namespace zu
