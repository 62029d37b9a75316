#include "support/error_reporting.hpp"

#include "i18n/language_state.hpp"
#include "i18n/resource_strings.hpp"
#include "support/application_window.hpp"
#include "support/message_box_rules.hpp"
#include "support/unique_resource.hpp"

namespace zu {
namespace {

constexpr std::uint32_t kEFail = 0x80004005u;

bool format_system_text(std::uint32_t code, std::uint16_t langid, std::wstring& text) {
    auto ask = [&](DWORD language, DWORD& error) {
        wchar_t* buffer = nullptr;
        DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                            FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                        nullptr, code, language, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
        error = ::GetLastError();
        unique_local_memory owner(buffer);
        if (length == 0 || !buffer) return false;
        text.assign(buffer, length);
        return true;
    };
    DWORD error = 0;
    if (!ask(langid, error)) {
        if (error != ERROR_RESOURCE_LANG_NOT_FOUND || !ask(0, error)) return false;
    }
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
    return true;
}

}  // namespace

std::wstring system_message(std::uint32_t code, std::uint16_t langid) {
    std::wstring text;
    if (format_system_text(code, langid, text)) return text;
    if (code == kEFail) return L"Error";
    return system_message(kEFail, langid);
}

std::wstring error_text(std::uint32_t code) {
    if (code & 0x20000000u) {
        if (is_string_resource_code(code)) {
            std::wstring text = load_resource_string(code & 0xFFFFu);
            if (!text.empty()) return text;
        }
        return system_message(kEFail, 0);
    }
    return system_message(code, 0);
}

std::wstring message_text::resolve() const {
    switch (kind_) {
    case Kind::Text:
        return text_;
    case Kind::Id:
        return load_resource_string(id_);
    default:
        return std::wstring();
    }
}

std::uint32_t reading_order_for(HWND owner) {
    if (owner) return (::GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) ? kRightToLeftReading : 0;
    return is_rtl_language(detect_language(0)) ? kRightToLeftReading : 0;
}

int message_box(const message_text& text, const message_text& caption, std::uint32_t type) {
    HWND owner = application_safe_owner();
    type = with_default_icon(type) | reading_order_for(owner);
    std::wstring captionText = caption.resolve();
    if (captionText.empty()) captionText = application_title();

    // The top-level window stays disabled while the box is up; an owner below it is
    // re-enabled so that focus returns to it afterwards.
    HWND top = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
    const bool disableTop = top && top != owner && ::IsWindowEnabled(top);
    if (disableTop) ::EnableWindow(top, FALSE);
    int button = ::MessageBoxW(owner, text.resolve().c_str(), captionText.c_str(), type);
    if (disableTop) ::EnableWindow(top, TRUE);
    return button;
}

void show_error(std::uint32_t code) { message_box(error_text(code), message_text(), MB_OK | MB_ICONEXCLAMATION); }

bool show_system_error(HWND owner, std::uint32_t code) {
    ::MessageBoxW(owner, system_message(code, 0).c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION | reading_order_for(owner));
    return false;
}

}  // namespace zu
