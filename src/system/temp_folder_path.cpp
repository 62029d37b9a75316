#include "system/temp_folder_path.hpp"

#include <boost/uuid/random_generator.hpp>
#include <boost/uuid/uuid_io.hpp>

#include <cwchar>

#include "payload/windows_path.hpp"

namespace zu {

TempFolderPathResult TempFolderPathFrom(std::size_t reportedLength, const std::wstring& userTemp,
                                        std::uint32_t lastError, const std::wstring& uuid) {
    if (reportedLength == 0 || reportedLength > kMaxUserTempLength)
        return {false, TempFolderFailureText(lastError, L"GetTempPath")};
    std::wstring path = userTemp;
    append_path_element(path, L"quillon_{" + uuid + L"}");
    return {true, path};
}

std::wstring TempFolderFailureText(std::uint32_t error, const wchar_t* call) {
    wchar_t text[64];
    std::swprintf(text, sizeof text / sizeof text[0], L"%08x (%ls)", static_cast<unsigned>(error), call);
    return text;
}

std::wstring RandomUuidText() {
    // Seeding the generator from system entropy is costly; once per process is enough.
    static boost::uuids::random_generator generator;
    return boost::uuids::to_wstring(generator());
}

}  // namespace zu
