// Feeds arbitrary files to the executable resource reader of the vendor tool: it must answer,
// or refuse the file as damaged, without reading outside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "payload/pe_resource.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input's size, so that AddressSanitizer sees every read past its end.
    const std::vector<unsigned char> file(data, data + size);
    try {
        if (auto found = zu::find_executable_resource(file.data(), file.size(), 260, 134)) {
            if (found->data < file.data() || found->data + found->size > file.data() + file.size()) std::abort();
        }
    } catch (const zu::invalid_executable&) {
    }
    return 0;
}
