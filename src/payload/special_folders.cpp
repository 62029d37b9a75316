#include "payload/special_folders.hpp"

#include "payload/compress_error.hpp"

namespace zu {

std::wstring special_folders::find(int folder) const {
    if (!given_) return system_special_folder(folder);
    auto it = given_->find(folder);
    return it == given_->end() ? std::wstring() : it->second;
}

std::wstring lookup_special_folder(const special_folders& folders, int folder, int fallback) {
    std::wstring path = folders.find(folder);
    if (path.empty() && fallback != csidl::none) path = folders.find(fallback);
    if (path.empty()) throw_compress_error(compress_errc::unexpected);
    return path;
}

}  // namespace zu
