// What the install sequence needs of the page that shows it. The Install page implements it
// over its controls; native tests and windowless Windows tests record what it is told.
#pragma once

#include <string>

namespace zu {

class InstallView {
public:
    virtual ~InstallView() = default;

    // The only way text enters the progress log. With separator set, or an empty text, the
    // view makes a line of dashes across the log (with the text in its middle when there is
    // one) ending in "\r\n"; otherwise the text goes in as given, without a line end.
    virtual void AppendLog(const std::wstring& text, bool separator) = 0;
    // Empties the progress log.
    virtual void ClearLog() = 0;

    // The progress text below the bar.
    virtual void SetProgressText(const std::wstring& text) = 0;
    // A file message as progress text, its path shortened to fit the control.
    virtual void SetProgressPathText(const std::wstring& path) = 0;

    virtual void ShowProgressBar(bool visible) = 0;
    virtual void SetProgressPosition(int percent) = 0;

    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;

    // Lets the window repaint while the sequence waits for something outside the process.
    virtual void PumpMessages() = 0;
};

}  // namespace zu
