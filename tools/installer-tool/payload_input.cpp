#include "payload_input.hpp"

#include <stdexcept>

#include "payload/pe_resource.hpp"
#include "payload/resource_stream.hpp"

namespace installer_tool {

payload_input::payload_input(const std::filesystem::path& path) : file_(path) {
    data_ = file_.data();
    size_ = file_.size();
    if (zu::looks_like_executable(data_, size_)) {
        const auto resource =
            zu::find_executable_resource(data_, size_, zu::kPayloadResourceType, zu::kPayloadResourceName);
        if (!resource) {
            throw std::runtime_error(path.string() + ": the executable has no payload resource (type " +
                                     std::to_string(zu::kPayloadResourceType) + ", name " +
                                     std::to_string(zu::kPayloadResourceName) + ")");
        }
        data_ = resource->data;
        size_ = resource->size;
        from_executable_ = true;
    }
}

zu::imemstream payload_input::open() const { return zu::open_resource_stream(data_, size_); }

}  // namespace installer_tool
