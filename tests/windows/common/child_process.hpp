// Helper programs for tests that need a second process: found beside the test program,
// started with a command line, waited for, and ended if a test leaves one behind.
#pragma once

#include "support/unique_resource.hpp"

#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// The full path of a file in the folder of the running test program.
inline std::wstring beside_this_program(const std::wstring& fileName) {
    wchar_t self[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, length);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + fileName;
}

inline std::wstring quoted(const std::wstring& argument) {
    return L"\"" + argument + L"\"";
}

class child_process {
public:
    child_process(const std::wstring& program, const std::vector<std::wstring>& arguments) {
        std::wstring commandLine = quoted(program);
        for (const std::wstring& argument : arguments) commandLine += L" " + quoted(argument);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &info)) {
            process_.reset(info.hProcess);
            ::CloseHandle(info.hThread);
        }
    }
    child_process(const child_process&) = delete;
    child_process& operator=(const child_process&) = delete;
    ~child_process() {
        if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process_.get(), 255);
            ::WaitForSingleObject(process_.get(), 10000);
        }
    }

    bool started() const { return static_cast<bool>(process_); }

    // The exit code, or none when the process is still running after timeoutMs.
    std::optional<DWORD> wait(DWORD timeoutMs = 60000) {
        if (!process_ || ::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
        DWORD code = 0;
        ::GetExitCodeProcess(process_.get(), &code);
        return code;
    }

private:
    zu::unique_handle process_;
};

// A named event for talking to a helper: "ready" from the helper, "go on" to it.
inline zu::unique_handle make_event(const std::wstring& name) {
    return zu::unique_handle(::CreateEventW(nullptr, TRUE, FALSE, name.c_str()));
}

// A name no other test run uses.
inline std::wstring unique_name(const wchar_t* what) {
    static int serial = 0;
    return std::wstring(L"zu-test-") + what + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(++serial) + L"-" + std::to_wstring(::GetTickCount());
}

// A temporary file name (the file is created empty) and its removal.
class temp_file {
public:
    temp_file() {
        wchar_t folder[MAX_PATH] = {};
        wchar_t name[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, folder);
        ::GetTempFileNameW(folder, L"zut", 0, name);
        path_ = name;
    }
    ~temp_file() { ::DeleteFileW(path_.c_str()); }
    const std::wstring& path() const { return path_; }

    // The file's lines (UTF-8 bytes as they are).
    std::vector<std::string> lines() const {
        std::vector<std::string> result;
        HANDLE file = ::CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return result;
        std::string content;
        char buffer[4096];
        DWORD read = 0;
        while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
        ::CloseHandle(file);
        std::size_t start = 0;
        for (std::size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1)
            result.push_back(content.substr(start, end - start));
        return result;
    }

private:
    std::wstring path_;
};

}  // namespace testing_support
