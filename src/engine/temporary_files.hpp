// The files an installation places only for its own use (the DirectX setup files), and the
// folder that holds them. The install sequence makes one list per run; the entry handler adds
// to it; Clean removes everything whatever the outcome of the run.
#pragma once

#include <string>
#include <vector>

namespace zu {

class TemporaryFileList {
public:
    explicit TemporaryFileList(std::wstring folder) : folder_(std::move(folder)) {}
    TemporaryFileList(const TemporaryFileList&) = delete;
    TemporaryFileList& operator=(const TemporaryFileList&) = delete;
    // A list forgotten by a failing sequence still leaves no files behind.
    ~TemporaryFileList() { Clean(); }

    void Add(const std::wstring& path) { files_.push_back(path); }

    // Removes each file in order, then the folder (only when it is empty); errors are ignored:
    // what cannot be removed stays. Afterwards the list is empty and the folder forgotten.
    void Clean();

    const std::wstring& folder() const { return folder_; }
    const std::vector<std::wstring>& files() const { return files_; }

private:
    std::wstring folder_;
    std::vector<std::wstring> files_;
};

}  // namespace zu
