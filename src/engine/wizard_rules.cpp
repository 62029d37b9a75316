#include "engine/wizard_rules.hpp"

#include <algorithm>

#include "i18n/messages.hpp"
#include "support/product_identity.hpp"

namespace zu {
namespace {

std::wstring M(unsigned offset) { return LoadMessage(MessageId(offset)); }
std::wstring F(unsigned offset, std::initializer_list<std::wstring> args) {
    return FormatMessageText(MessageId(offset), std::vector<std::wstring>(args));
}

constexpr int kNewerInstalled = -1;
constexpr int kSameVersion = 1;

}  // namespace

int SkipPages(int target, int oldIndex, bool advancedMode) {
    if (advancedMode || target == oldIndex) return target;
    const int step = target > oldIndex ? 1 : -1;
    while (target == PagePath || target == PageShortcut) target += step;
    return target;
}

WizardButtons ButtonsFor(int page, bool installDone, int installState) {
    WizardButtons b;
    b.next = page == PageInstall && !installDone ? M(7) : M(6) + L"  >";
    b.back = L"<  " + M(5);
    b.cancel = installDone ? M(4) : M(2);
    b.backEnabled = (page > PageStart && !installDone) || page > PageInstall;
    b.nextEnabled = page < PageEnd && installState != kNewerInstalled;
    b.defaultId = b.nextEnabled ? 1 : 2;
    return b;
}

bool CancelAsksQuestion(bool installDone, int installState, int shownPage) {
    return !installDone && installState != kNewerInstalled && !(installState == kSameVersion && shownPage == PageStart);
}

std::wstring AboutMenuText(bool rightToLeft) {
    std::wstring about = F(3, {M(0)});
    if (about.empty()) return about;
    return rightToLeft ? L"..." + about : L"&" + about + L"...";
}

std::wstring WizardTitle() { return M(0) + L" \u2013 " + ProductIdentity::fullName; }

std::wstring StatusLine(int page, int installState, bool installDone) {
    switch (page) {
    case PageStart:
        if (installState == kSameVersion) return F(105, {M(6), M(2)});
        if (installState == kNewerInstalled) return F(107, {M(2)});
        return F(106, {M(6)});
    case PageInstall:
        return installDone ? F(106, {M(6)}) : F(108, {M(7)});
    case PageEnd:
        return F(107, {M(4)});
    default:
        return F(106, {M(6)});
    }
}

std::wstring StartInformation(int installState, const std::wstring& installedVersion) {
    const std::wstring product = ProductIdentity::fullName;
    switch (installState) {
    case kSameVersion:
        return F(102, {product}) + L"\r\n" + M(104);
    case 2:
        return F(101, {installedVersion, product});
    case kNewerInstalled:
        return F(100, {product}) + L"\r\n" + F(103, {installedVersion});
    default:
        return F(100, {product});
    }
}

}  // namespace zu

namespace zu {

std::wstring SeparatorLine(const std::wstring& text, int available, const std::function<int(const std::wstring&)>& width) {
    const int dash = std::max(1, width(L"-"));
    auto dashes = [](int count) { return std::wstring(static_cast<std::size_t>(std::max(0, count)), L'-'); };
    if (text.empty()) return dashes(available / dash) + L"\r\n";
    const std::wstring middle = L" " + text + L" ";
    const int d = (available - width(middle)) / dash;
    return dashes(d / 2) + middle + dashes((d + 1) / 2) + L"\r\n";
}

}  // namespace zu
