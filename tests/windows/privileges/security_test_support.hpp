// Helpers shared by the security tests: access lists built and read back with the platform's
// own calls, independent of the code under test.
#pragma once

#include "support/unique_resource.hpp"

#include <sddl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sectest {

struct Entry {
    std::wstring sid;  // string form, "S-1-5-32-545"
    std::uint32_t mask = 0;
    std::uint8_t flags = 0;
    std::uint8_t type = ACCESS_ALLOWED_ACE_TYPE;
    bool operator==(const Entry& other) const {
        return sid == other.sid && mask == other.mask && flags == other.flags && type == other.type;
    }
};

inline std::ostream& operator<<(std::ostream& out, const Entry& e) {
    std::string sid(e.sid.begin(), e.sid.end());
    return out << "{" << sid << " type " << int(e.type) << " mask 0x" << std::hex << e.mask << " flags 0x"
               << int(e.flags) << std::dec << "}";
}

inline std::wstring sid_text(PSID sid) {
    wchar_t* text = nullptr;
    if (!::ConvertSidToStringSidW(sid, &text)) return L"<invalid>";
    std::wstring result(text);
    ::LocalFree(text);
    return result;
}

inline std::vector<BYTE> sid_bytes(const std::wstring& text) {
    PSID sid = nullptr;
    if (!::ConvertStringSidToSidW(text.c_str(), &sid)) return {};
    std::vector<BYTE> bytes(static_cast<const BYTE*>(sid), static_cast<const BYTE*>(sid) + ::GetLengthSid(sid));
    ::LocalFree(sid);
    return bytes;
}

// An ACL of revision 2 holding the entries in order (allowed or denied, with their flags).
inline std::vector<BYTE> make_acl(const std::vector<Entry>& entries) {
    DWORD size = sizeof(ACL);
    for (const Entry& e : entries) size += sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + sid_bytes(e.sid).size();
    std::vector<BYTE> acl(size);
    ::InitializeAcl(reinterpret_cast<PACL>(acl.data()), size, ACL_REVISION);
    for (const Entry& e : entries) {
        std::vector<BYTE> sid = sid_bytes(e.sid);
        if (e.type == ACCESS_DENIED_ACE_TYPE) {
            ::AddAccessDeniedAceEx(reinterpret_cast<PACL>(acl.data()), ACL_REVISION, e.flags, e.mask, sid.data());
        } else {
            ::AddAccessAllowedAceEx(reinterpret_cast<PACL>(acl.data()), ACL_REVISION, e.flags, e.mask, sid.data());
        }
    }
    return acl;
}

inline std::vector<Entry> read_acl(PACL acl) {
    std::vector<Entry> entries;
    if (!acl) return entries;
    ACL_SIZE_INFORMATION info{};
    ::GetAclInformation(acl, &info, sizeof info, AclSizeInformation);
    for (DWORD i = 0; i < info.AceCount; ++i) {
        void* raw = nullptr;
        ::GetAce(acl, i, &raw);
        const auto* ace = static_cast<const ACCESS_ALLOWED_ACE*>(raw);
        entries.push_back({sid_text(const_cast<DWORD*>(&ace->SidStart)), ace->Mask, ace->Header.AceFlags,
                           ace->Header.AceType});
    }
    return entries;
}

}  // namespace sectest
