// POSIX stand-ins for the gate's queries: there is no Windows version, so the record stays
// empty (neither 5.x nor the NT family: the gate passes and named objects get no prefix).
#include "support/system_gate.hpp"

#include <unistd.h>

#include <string>

namespace zu {
namespace {

class posix_system_queries final : public system_queries {
public:
    bool processor_has_sse2() const override {
#if defined(__x86_64__) || defined(__i386__)
        return __builtin_cpu_supports("sse2");
#else
        return true;  // the requirement is an x86 one
#endif
    }
    bool read_version(os_version_record&) const override { return true; }
};

}  // namespace

const system_queries& platform_system_queries() {
    static const posix_system_queries queries;
    return queries;
}

void refuse_system(const wchar_t* text) {
    std::string message;
    for (const wchar_t* p = text; p && *p; ++p) message += *p < 0x80 ? static_cast<char>(*p) : '?';
    message += '\n';
    ssize_t ignored = ::write(STDERR_FILENO, message.data(), message.size());
    (void)ignored;
    ::_exit(1);
}

std::wstring global_object_prefix() {
    return object_prefix_for(os_version_record{});
}

}  // namespace zu
