// The wizard's rules apart from its windows: page order and skipping, button labels and
// enabling, the question on leaving, and the texts the pages compose. The frame and the pages
// only move these values into their controls.
#pragma once

#include <string>

namespace zu {

enum WizardPage : int {
    PageStart = 0,
    PageMode = 1,
    PagePath = 2,
    PageShortcut = 3,
    PageInstall = 4,
    PageEnd = 5,
    PageCount = 6,
};

// The page actually shown when target is asked for while oldIndex is shown (-1 before the
// first page): in quick mode the folder and shortcut pages are stepped over in the direction
// of travel.
int SkipPages(int target, int oldIndex, bool advancedMode);

struct WizardButtons {
    std::wstring next;    // control 1
    std::wstring back;    // control 3
    std::wstring cancel;  // control 2
    bool nextEnabled = false;
    bool backEnabled = false;
    int defaultId = 1;    // the button that gets the focus and the default style
};

// Labels in the current language and enabling for page shown; with a newer version installed
// Next is never enabled.
WizardButtons ButtonsFor(int page, bool installDone, int installState);

// Whether leaving asks message 110 first.
bool CancelAsksQuestion(bool installDone, int installState, int shownPage);

// The About item of the system menu: "&About '...'..." left to right, "...About '...'"
// right to left; empty when the language has no About text.
std::wstring AboutMenuText(bool rightToLeft);
// The frame's window title: message 0, " – ", the product with its version.
std::wstring WizardTitle();

// The status line (control 1003) each page writes when it is re-labelled.
std::wstring StatusLine(int page, int installState, bool installDone);
// The Start page's information text for the install state.
std::wstring StartInformation(int installState, const std::wstring& installedVersion);

}  // namespace zu

#include <functional>

namespace zu {

// A separator line of the progress log, measured by width (in pixels, in the log's font):
// the text with a blank each side centred in dashes, or only dashes across available when the
// text is empty; ends with "\r\n".
std::wstring SeparatorLine(const std::wstring& text, int available, const std::function<int(const std::wstring&)>& width);

}  // namespace zu
