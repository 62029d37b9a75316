// The quick English installation's install sequence on the real system (run under Wine by
// scripts/bench-install, which compares it with two `bzip2 -dc` passes over the same payload).
// The program carries the demo payload as the installer does and runs the sequence as the
// Install page would, with a view that only notes when each log line arrives; the wizard's
// windows and their driving are left out, so that the figure is the sequence's own.
//
//   install_sequence_bench.exe [RUNS]   (default 3)
//
// Prints, for every run, the time of the whole sequence and of its steps; before every run the
// product is removed from the machine, so that every run is a first installation.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/install_app.hpp"
#include "engine/install_sequence.hpp"
#include "i18n/language_state.hpp"
#include "tests/windows/common/product_state.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double ms_between(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// Notes the moment at which each line of the progress log is finished.
class TimingView : public zu::InstallView {
public:
    struct Line {
        std::wstring text;
        Clock::time_point at;
    };

    void AppendLog(const std::wstring& text, bool separator) override {
        if (separator || text.empty()) return;
        current_ += text;
        if (current_.size() >= 2 && current_.compare(current_.size() - 2, 2, L"\r\n") == 0) {
            lines_.push_back({current_.substr(0, current_.size() - 2), Clock::now()});
            current_.clear();
        }
    }
    void ClearLog() override {}
    void SetProgressText(const std::wstring&) override {}
    void SetProgressPathText(const std::wstring&) override {}
    void ShowProgressBar(bool) override {}
    void SetProgressPosition(int) override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void PumpMessages() override {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }

    const std::vector<Line>& lines() const { return lines_; }

private:
    std::wstring current_;
    std::vector<Line> lines_;
};

// The log's texts for the console: anything outside ASCII as "?".
std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    zu::set_language(zu::kEnglish);
    // The wizard's windows exist before its sequence runs; so must a window here, or the
    // first run pays for the system's window start-up (hundreds of milliseconds under Wine).
    const HWND page = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    for (int run = 1; run <= runs; ++run) {
        zu_test::remove_product_from_machine();
        zu::CInstallApp app;
        app.UpdateTitle();
        app.context.installFolder = L"C:\\Program Files\\Quillon\\Mobrix 6";
        app.context.shortcutFolder = zu_test::shell_folder(CSIDL_COMMON_PROGRAMS) + L"\\Quillon\\Mobrix 6";
        app.context.menuShortcut = app.context.desktopShortcut = true;
        if (!app.instanceGuard.try_lock()) {
            std::fprintf(stderr, "another installer holds the installer mutex\n");
            return 2;
        }

        TimingView view;
        const Clock::time_point started = Clock::now();
        const bool ok = RunInstallation(view, app);
        const Clock::time_point ended = Clock::now();
        if (!ok) {
            std::fprintf(stderr, "the installation failed\n");
            for (const auto& line : view.lines()) std::fprintf(stderr, "  %s\n", narrow(line.text).c_str());
            return 1;
        }

        // Steps: every line but the file messages, which are summed up as one step.
        std::printf("run %d: install sequence %.0f ms\n", run, ms_between(started, ended));
        Clock::time_point previous = started;
        std::size_t files = 0;
        double filesMs = 0;
        for (const auto& line : view.lines()) {
            const double took = ms_between(previous, line.at);
            previous = line.at;
            if (line.text.rfind(L"Copying File", 0) == 0) {
                ++files;
                filesMs += took;
                continue;
            }
            if (files) {
                std::printf("  %6.0f ms  %zu files extracted\n", filesMs, files);
                files = 0;
            }
            std::printf("  %6.0f ms  %s\n", took, narrow(line.text).c_str());
        }
        std::printf("  %6.0f ms  clean-up\n", ms_between(previous, ended));
        std::fflush(stdout);
    }
    zu_test::remove_product_from_machine();
    if (page) ::DestroyWindow(page);
    return 0;
}
