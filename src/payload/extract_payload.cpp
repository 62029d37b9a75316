#include "payload/extract_payload.hpp"

#include <boost/iostreams/compose.hpp>
#include <boost/iostreams/copy.hpp>
#include <boost/ref.hpp>
#include <boost/iostreams/filter/bzip2.hpp>
#include <boost/system/system_error.hpp>

#include <filesystem>

#include "payload/compress_error.hpp"
#include "payload/payload_extractor.hpp"
#include "payload/runtime_errors.hpp"
#include "support/wide_path.hpp"

namespace io = boost::iostreams;

namespace zu {

std::error_code error_code_of(const std::exception& failure) {
    if (dynamic_cast<const std::ios_base::failure*>(&failure)) {
        if (unsigned long os = runtime_os_error()) return {static_cast<int>(os), std::system_category()};
        if (int c = runtime_errno()) return {c, std::generic_category()};
    }
    if (dynamic_cast<const io::bzip2_error*>(&failure)) return compress_errc::bzip2_failure;
    if (auto e = dynamic_cast<const std::system_error*>(&failure)) return e->code();
    if (auto e = dynamic_cast<const boost::system::system_error*>(&failure)) {
        if (e->code().category() == boost::system::generic_category()) return {e->code().value(), std::generic_category()};
        if (e->code().category() == boost::system::system_category()) return {e->code().value(), std::system_category()};
    }
    return compress_errc::unexpected;
}

bool extract_payload(std::istream& source, const destination_roots& roots, const notification_handler& handler,
                     const special_folders& folders) {
    std::wstring error_path;
    try {
        // Indicators left over from before the extraction belong to nobody's failure.
        clear_runtime_errors();
        handler(notification{notification::start{}});
        payload_extractor reader(roots, handler, folders);
        std::uint64_t consumed = 0;
        try {
            // An empty source holds no archive; the decompressor would call that a bzip2 error.
            if (source.peek() != std::istream::traits_type::eof()) {
                consumed = static_cast<std::uint64_t>(
                    io::copy(source, io::compose(io::bzip2_decompressor(false, kPayloadBufferSize), boost::ref(reader)),
                             kPayloadBufferSize));
            }
        } catch (...) {
            if (const payload_entry* entry = reader.started_entry()) error_path = entry->destination;
            throw;
        }
        if (reader.total() != 0 && reader.position() == reader.total()) {
            handler(notification{notification::finish{consumed, reader.total()}});
            return true;
        }
        throw_compress_error(compress_errc::unexpected);
    } catch (const std::exception& failure) {
        const std::error_code code = error_code_of(failure);
        if (error_path.empty()) {
            if (auto fs_error = dynamic_cast<const std::filesystem::filesystem_error*>(&failure)) {
                error_path = to_wide(fs_error->path1());
            }
        }
        try {
            if (handler) handler(notification{notification::error{code, error_path}});
        } catch (...) {
            // The answer to an error is ignored; so is a handler that fails while hearing it.
        }
        return false;
    }
}

}  // namespace zu
