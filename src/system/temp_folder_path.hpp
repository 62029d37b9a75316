// The path of an installation's own temporary folder: the user's temporary folder with
// "quillon_{" + a random version-4 UUID + "}" appended. CreateTempFolder then makes the folder
// itself before anything is extracted into it.
#pragma once

#include <cstdint>
#include <string>

namespace zu {

struct TempFolderPathResult {
    bool ok = false;
    // The folder's path on success; otherwise the failure text shown to the user, made from the
    // system error and the name of the call that failed, for example "00000000 (GetTempPath)".
    std::wstring text;
};

TempFolderPathResult MakeTempFolderPath();

// The rule behind it. reportedLength is the length the system answered for the user's temporary
// folder (0: it failed), userTemp the folder it wrote, lastError the error it left; uuid the
// UUID's text.
// A folder longer than 246 characters fails: the name and a file in it must still fit the
// 260-character paths the rest of the installation works with.
constexpr std::size_t kMaxUserTempLength = 246;
TempFolderPathResult TempFolderPathFrom(std::size_t reportedLength, const std::wstring& userTemp,
                                        std::uint32_t lastError, const std::wstring& uuid);

// Creates the folder at path, one level, with an access list that only administrators and the
// system can use (on POSIX: only the owner). Anything already at the path (a folder, a file, a
// link or junction) fails it: a folder made by someone else could be changed by them while the
// installer runs. The failure text is made like MakeTempFolderPath's, for "CreateDirectory".
TempFolderPathResult CreateTempFolder(const std::wstring& path);

// The failure text for a system error and the call that failed: "000000b7 (CreateDirectory)".
std::wstring TempFolderFailureText(std::uint32_t error, const wchar_t* call);

// A fresh random UUID in lower-case text form (8-4-4-4-12); one generator serves the process.
std::wstring RandomUuidText();

}  // namespace zu
