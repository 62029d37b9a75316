// The product's file association under HKEY_CLASSES_ROOT: the ".mbx6" extension names the
// class "Mobrix.Project.6", whose open command starts the product with the file.
#pragma once

#include <string>

namespace zu {

constexpr const wchar_t* kProjectExtension = L".mbx6";
constexpr const wchar_t* kProjectClass = L"Mobrix.Project.6";

#ifdef _WIN32
// Writes the extension and its class for the executable at path; false when a key cannot be
// written.
bool RegisterFileAssociation(const std::wstring& executable);
// Removes the extension's key when it still names the class, and the class itself.
bool UnregisterFileAssociation();
#endif

}  // namespace zu
