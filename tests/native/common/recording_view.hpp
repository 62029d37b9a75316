// An install view that remembers what it was told, for tests of the install sequence and its
// steps on both platforms. log() is the progress log's text as a page would hold it (separator
// lines stand for themselves as "[separator: text]\r\n"); calls() lists every call in order.
#pragma once

#include <string>
#include <vector>

#include "engine/install_view.hpp"

namespace zu_test {

class RecordingView : public zu::InstallView {
public:
    struct Call {
        enum Kind { append, separator, clear, progressText, progressPathText, showBar, position, beginWait, endWait, pump };
        Kind kind;
        std::wstring text;
        int number = 0;
    };

    void AppendLog(const std::wstring& text, bool separator) override {
        if (separator || text.empty()) {
            log_ += L"[separator: " + text + L"]\r\n";
            calls_.push_back({Call::separator, text});
        } else {
            log_ += text;
            calls_.push_back({Call::append, text});
        }
    }
    void ClearLog() override {
        log_.clear();
        calls_.push_back({Call::clear, {}});
    }
    void SetProgressText(const std::wstring& text) override {
        progressText_ = text;
        calls_.push_back({Call::progressText, text});
    }
    void SetProgressPathText(const std::wstring& text) override {
        progressText_ = text;
        calls_.push_back({Call::progressPathText, text});
    }
    void ShowProgressBar(bool visible) override {
        barVisible_ = visible;
        calls_.push_back({Call::showBar, {}, visible ? 1 : 0});
    }
    void SetProgressPosition(int percent) override {
        position_ = percent;
        calls_.push_back({Call::position, {}, percent});
    }
    void BeginWaitCursor() override {
        ++waitDepth_;
        calls_.push_back({Call::beginWait, {}});
    }
    void EndWaitCursor() override {
        --waitDepth_;
        calls_.push_back({Call::endWait, {}});
    }
    void PumpMessages() override {
        ++pumps_;
        calls_.push_back({Call::pump, {}});
    }

    const std::wstring& log() const { return log_; }
    // The log cut at its line ends; an unfinished last line is kept.
    std::vector<std::wstring> lines() const {
        std::vector<std::wstring> out;
        std::size_t start = 0;
        for (std::size_t end; (end = log_.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
            out.push_back(log_.substr(start, end - start));
        if (start < log_.size()) out.push_back(log_.substr(start));
        return out;
    }
    const std::wstring& progressText() const { return progressText_; }
    bool progressBarVisible() const { return barVisible_; }
    int progressPosition() const { return position_; }
    int waitDepth() const { return waitDepth_; }
    int pumps() const { return pumps_; }
    const std::vector<Call>& calls() const { return calls_; }
    std::size_t count(Call::Kind kind) const {
        std::size_t n = 0;
        for (const Call& c : calls_) n += c.kind == kind;
        return n;
    }

private:
    std::wstring log_;
    std::wstring progressText_;
    bool barVisible_ = false;
    int position_ = 0;
    int waitDepth_ = 0;
    int pumps_ = 0;
    std::vector<Call> calls_;
};

}  // namespace zu_test
