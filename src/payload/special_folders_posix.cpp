#include "payload/special_folders.hpp"

namespace zu {

// Nothing on a POSIX system stands for the shell's folders; callers give theirs explicitly.
std::wstring system_special_folder(int) { return {}; }

}  // namespace zu
