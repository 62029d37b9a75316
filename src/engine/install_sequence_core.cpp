#include "engine/install_sequence_core.hpp"

#include <boost/iostreams/copy.hpp>
#include <boost/iostreams/device/null.hpp>
#include <boost/iostreams/filter/bzip2.hpp>
#include <boost/iostreams/filtering_streambuf.hpp>

#include "engine/directx_step.hpp"
#include "engine/entry_placement.hpp"
#include "engine/install_rules.hpp"
#include "engine/path_quoting.hpp"
#include "engine/shortcut_step.hpp"
#include "engine/temporary_files.hpp"
#include "i18n/messages.hpp"
#include "payload/compress_error.hpp"
#include "payload/extract_payload.hpp"
#include "support/product_identity.hpp"
#include "system/journal_platform.hpp"
#include "system/temp_folder_path.hpp"
#include "system/uninstall_registration.hpp"

namespace zu {
namespace {

constexpr std::uint32_t kRegistrationSucceeded = 0xFFFFFFF6u;  // exit code -10

std::wstring message(unsigned offset) { return LoadMessage(MessageId(offset)); }

// The folder part of a path, with either separator; empty when the path names no folder.
std::wstring folder_of(const std::wstring& path) {
    const auto separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

wchar_t separator_in(const std::wstring& path) { return path.find(L'\\') != std::wstring::npos ? L'\\' : L'/'; }

// Decompresses the whole payload into nothing. The payload passes when that raised nothing and
// the stream stands at its end; it is then rewound for the extraction.
bool check_payload(std::istream& payload) {
    try {
        namespace io = boost::iostreams;
        io::filtering_istreambuf decompressed;
        decompressed.push(io::bzip2_decompressor(io::bzip2::default_small, kPayloadBufferSize), kPayloadBufferSize);
        // An empty payload has nothing to decompress: it passes and fails in the extraction.
        if (payload.peek() != std::char_traits<char>::eof()) {
            decompressed.push(payload, kPayloadBufferSize);
            io::copy(decompressed, io::null_sink(), kPayloadBufferSize);
        }
        if (payload.bad() || payload.peek() != std::char_traits<char>::eof()) return false;
    } catch (const std::exception&) {
        return false;
    }
    payload.clear();
    payload.seekg(0);
    return static_cast<bool>(payload);
}

class SequenceHandler {
public:
    SequenceHandler(InstallView& view, CUninstallLog& log, std::istream& payload, EntryPlacement& placement)
        : view_(view), log_(log), payload_(payload), placement_(placement) {}

    notification::result operator()(const notification& n) {
        return std::visit([this](const auto& alternative) { return On(alternative); }, n.value);
    }

private:
    notification::result On(const notification::start&) {
        view_.SetProgressText(message(114));
        view_.AppendLog(message(114), false);
        if (!check_payload(payload_)) throw std::system_error(make_error_code(compress_errc::payload_check_failed));
        view_.AppendLog(message(11) + L"\r\n", false);
        return notification::result::proceed;
    }
    notification::result On(const notification::finish&) { return notification::result::proceed; }
    notification::result On(const notification::begin_entry& n) { return placement_.OnBeginEntry(n.entry); }
    notification::result On(const notification::end_entry& n) { return placement_.OnEndEntry(n.entry); }
    notification::result On(const notification::progress& n) {
        view_.SetProgressPosition(progress_percent(n.position, n.total));
        return notification::result::proceed;
    }
    notification::result On(const notification::error& n) {
        if (log_.pending()) log_.Complete(false);  // the file whose placement failed
        view_.AppendLog(message(12) + L"\r\n", false);
        view_.SetProgressText(FormatMessageText(MessageId(121), {extraction_error_text(n.code)}));
        return notification::result::abort;
    }

    InstallView& view_;
    CUninstallLog& log_;
    std::istream& payload_;
    EntryPlacement& placement_;
};

void make_read_only(const std::wstring& path) {
    if (path.empty()) return;
    if (auto attributes = journal_platform::get_attributes(path)) {
        journal_platform::set_attributes(path, *attributes | journal_platform::kAttributeReadOnly);
    }
}

bool run_registration(InstallView& view, CUninstallLog& log, const InstallSequencePlatform& platform,
                      const std::wstring& mainProgram) {
    log.BeginRegistration();
    const std::wstring commandLine = QuoteSpaces(mainProgram) + L" /Register /Background";
    platform.releaseInstallerMutex();
    const std::optional<std::uint32_t> exitCode = platform.runRegistration(commandLine, folder_of(mainProgram));
    platform.retakeInstallerMutex();
    if (!exitCode) {
        log.Complete(false);
        return false;
    }
    const bool ok = *exitCode == kRegistrationSucceeded;
    log.Complete(ok);
    if (ok) {
        view.BeginWaitCursor();
        platform.notifyAssociationsChanged();
        view.EndWaitCursor();
    }
    return ok;
}

}  // namespace

bool RunInstallSequence(InstallView& view, InstallContext& context, CUninstallLog& log,
                        const InstallSequencePlatform& platform) {
    std::wstring mainProgram, uninstaller;
    view.AppendLog(L"", true);
    view.BeginWaitCursor();

    view.SetProgressText(message(114));
    TempFolderPathResult temp = platform.makeTempFolderPath ? platform.makeTempFolderPath() : MakeTempFolderPath();
    // The folder is made here, before the extraction, and must be new: files run or restored
    // elevated later must not pass through a folder that another account could change.
    if (temp.ok) temp = CreateTempFolder(temp.text);
    if (!temp.ok) {
        const std::wstring failure = FormatMessageText(MessageId(121), {temp.text});
        view.SetProgressText(failure);
        view.AppendLog(failure + L"\r\n", false);
        view.EndWaitCursor();
        return false;
    }
    context.tempFolder = temp.text;

    const destination_roots roots{context.installFolder,
                                  FormatMessageText(MessageId(18), {ProductIdentity::productName}), context.tempFolder};
    bool result = false;
    log.SetBackupFolder(context.tempFolder);
    {
        TemporaryFileList temporaryFiles(context.tempFolder);
        view.SetProgressPosition(0);
        view.ShowProgressBar(true);
        std::unique_ptr<std::istream> payload = platform.openPayload();
        EntryPlacement placement(view, log, context, temporaryFiles, mainProgram, uninstaller);
        SequenceHandler handler(view, log, *payload, placement);
        if (!extract_payload(*payload, roots, std::ref(handler), platform.folders)) {
            log.Rollback();
        } else {
            make_read_only(mainProgram);
            make_read_only(uninstaller);
            if (context.menuShortcut || context.desktopShortcut) {
                RunShortcutStep(view, log, context, mainProgram, uninstaller, platform.folders);
            }
            RunDirectXStep(view, log, context, platform.parentWindow);

            view.SetProgressText(message(118));
            view.AppendLog(message(118), false);
            const bool registryOk = WriteUninstallEntry(mainProgram, uninstaller, log);
            const bool runOk = run_registration(view, log, platform, mainProgram);
            view.AppendLog(message(registryOk && runOk ? 11 : 12) + L"\r\n", false);

            view.SetProgressText(message(119));
            view.AppendLog(message(119), false);
            const std::wstring folder = folder_of(uninstaller);
            const bool written = !folder.empty() &&
                                 log.Write(folder + separator_in(uninstaller) + L"Uninstall.ulog", context.installFolder,
                                           context.shortcutFolder);
            view.AppendLog(message(written ? 11 : 12) + L"\r\n", false);

            view.SetProgressText(FormatMessageText(MessageId(106), {message(6)}));
            result = true;
        }
        // The payload stream and the placement go first, then the temporary files and folder.
    }
    log.SetBackupFolder({});  // the folder is gone
    view.EndWaitCursor();
    return result;
}

}  // namespace zu
