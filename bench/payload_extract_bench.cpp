// Extraction speed and memory of the payload reader.
//
//   payload_extract_bench [MEGABYTES...]      (default: 25 250)
//
// For each size it generates a payload of that many megabytes of text-like files, then times
// `extract_payload` (decompress, write every file, read it back for its CRC-32) against one
// `bzip2 -dc FILE >/dev/null` pass over the same compressed file (best of nine runs each up to
// 50 MB, one run above; compared on the children's CPU time, which other load on the machine
// disturbs far less than wall time; `bzip2 -dc FILE >OUT`, which writes the same bytes to disk,
// is shown beside it), and
// measures the peak resident memory of each in a process of its own. The goals: extraction
// within 1.10 x the bzip2 pass; the same peak memory, within 2 MiB, whatever the payload's size.
#include <boost/iostreams/filter/bzip2.hpp>
#include <boost/iostreams/filtering_stream.hpp>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "payload/extract_payload.hpp"
#include "payload/payload_header_writer.hpp"
#include "support/crc32.hpp"
#include "support/wide_path.hpp"

namespace fs = std::filesystem;
namespace io = boost::iostreams;

namespace {

// Text-like bytes: words from a small vocabulary, as product files compress a few times over.
class text_source {
public:
    explicit text_source(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
    void fill(char* out, std::size_t n) {
        static const char* const words[] = {"mobrix ", "texture ", "material ", "render ", "scene ", "light ",
                                            "shadow ", "vertex ", "0.25 ", "1.5 ", "-3 ", "\n", "{ ", "} ",
                                            "quillon ", "layer ", "mesh ", "normal ", "uv ", "bake "};
        for (std::size_t i = 0; i < n;) {
            if (pending_.empty()) {
                state_ = state_ * 1664525u + 1013904223u;
                pending_ = words[(state_ >> 16) % 20];
                if ((state_ & 0xFF) < 24) pending_ += static_cast<char>('A' + (state_ >> 8) % 26);
            }
            const std::size_t take = std::min(n - i, pending_.size());
            std::copy(pending_.begin(), pending_.begin() + take, out + i);
            pending_.erase(0, take);
            i += take;
        }
    }

private:
    std::uint32_t state_;
    std::string pending_;
};

struct generated {
    fs::path file;
    std::uint64_t archive_length;
    std::size_t entries;
};

generated generate(const fs::path& file, std::uint64_t megabytes) {
    const std::uint64_t target = megabytes * 1000 * 1000;
    std::vector<std::uint64_t> sizes;
    std::uint64_t sum = 0;
    for (std::uint32_t i = 0; sum < target; ++i) {
        const std::uint64_t size = std::min<std::uint64_t>(target - sum, 20000 + (i * 7919u % 97) * 25000);
        sizes.push_back(size);
        sum += size;
    }
    std::vector<zu::payload_entry> entries;
    std::vector<char> block(65536);
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        text_source text(static_cast<std::uint32_t>(i));
        std::uint32_t reg = zu::kCrc32Initial;
        for (std::uint64_t left = sizes[i]; left > 0;) {
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size()));
            text.fill(block.data(), n);
            reg = zu::crc32_update(reg, block.data(), n);
            left -= n;
        }
        entries.push_back({L"C:\\stage\\file" + std::to_wstring(i) + L".dat", i % 3 ? L"<InstallPath>\\data" : L"<Temporary>",
                           static_cast<std::uint32_t>(i % 3 ? 0 : 5), sizes[i], zu::crc32_final(reg)});
    }
    std::ofstream out_file(file, std::ios::binary | std::ios::trunc);
    {
        io::filtering_ostream out;
        out.push(io::bzip2_compressor(io::bzip2_params(9)));
        out.push(out_file);
        const std::string header = zu::encode_payload_header(entries);
        out.write(header.data(), static_cast<std::streamsize>(header.size()));
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            text_source text(static_cast<std::uint32_t>(i));
            for (std::uint64_t left = sizes[i]; left > 0;) {
                const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size()));
                text.fill(block.data(), n);
                out.write(block.data(), static_cast<std::streamsize>(n));
                left -= n;
            }
        }
    }
    return {file, zu::encode_payload_header(entries).size() + sum, entries.size()};
}

struct measured {
    double seconds;      // wall time
    double cpu_seconds;  // user and system time of the child: less disturbed by other load
    long peak_kib;
    int status;
};

// Runs argv in a child process (stdout to /dev/null) and measures its wall time and peak memory.
measured run_child(const std::vector<std::string>& argv) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        std::_Exit(127);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return {seconds, cpu, usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// The child's side: one extraction, as the installer runs it.
int extract_once(const char* payload, const char* root) {
    // Read through a file stream rather than mapped: mapped pages would count as resident
    // memory of their own and hide what the reader itself uses.
    std::ifstream source(payload, std::ios::binary);
    const std::wstring install = zu::from_utf8(root) + L"/install", temp = zu::from_utf8(root) + L"/temp";
    std::uint64_t progress = 0;
    const bool ok = zu::extract_payload(source, {install, L"", temp}, [&](const zu::notification& n) {
        if (n.tag() == 4) ++progress;  // a handler as cheap as the install page's
        if (auto e = std::get_if<zu::notification::error>(&n.value)) std::cerr << "extraction failed: " << e->code.message() << "\n";
        return zu::notification::result::proceed;
    });
    return ok && progress > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--extract-once") return extract_once(argv[2], argv[3]);

    std::vector<std::uint64_t> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::stoull(argv[i]));
    if (sizes.empty()) sizes = {25, 250};

    char pattern[] = "/tmp/zu-bench-XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    const fs::path work = pattern;
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    std::vector<long> peaks;
    int failures = 0;
    for (std::uint64_t mb : sizes) {
        std::cout << "== payload of " << mb << " MB: generating..." << std::flush;
        const generated g = generate(work / ("payload-" + std::to_string(mb) + ".bz2"), mb);
        std::cout << " " << g.entries << " files, archive " << g.archive_length << " bytes, compressed "
                  << fs::file_size(g.file) << " bytes\n";
        measured best_bzip2{1e9, 1e9, 0, 0}, best_bzip2_file{1e9, 1e9, 0, 0}, best_extract{1e9, 1e9, 0, 0};
        const int rounds = mb <= 50 ? 9 : 1;
        for (int round = 0; round < rounds; ++round) {
            const measured b = run_child({"sh", "-c", "exec bzip2 -dc \"$0\" >/dev/null", g.file.string()});
            const fs::path out = work / "out";
            const measured f = run_child({"sh", "-c", "exec bzip2 -dc \"$0\" >\"$1\"", g.file.string(), (work / "archive").string()});
            fs::remove(work / "archive");
            const measured e = run_child({self, "--extract-once", g.file.string(), out.string()});
            fs::remove_all(out);
            if (b.status != 0 || f.status != 0 || e.status != 0) {
                std::cout << "run failed (bzip2 " << b.status << ", extraction " << e.status << ")\n";
                ++failures;
                break;
            }
            best_bzip2.seconds = std::min(best_bzip2.seconds, b.seconds);
            best_bzip2.cpu_seconds = std::min(best_bzip2.cpu_seconds, b.cpu_seconds);
            best_bzip2.peak_kib = std::max(best_bzip2.peak_kib, b.peak_kib);
            best_bzip2_file.seconds = std::min(best_bzip2_file.seconds, f.seconds);
            best_bzip2_file.cpu_seconds = std::min(best_bzip2_file.cpu_seconds, f.cpu_seconds);
            best_bzip2_file.peak_kib = std::max(best_bzip2_file.peak_kib, f.peak_kib);
            best_extract.seconds = std::min(best_extract.seconds, e.seconds);
            best_extract.cpu_seconds = std::min(best_extract.cpu_seconds, e.cpu_seconds);
            best_extract.peak_kib = std::max(best_extract.peak_kib, e.peak_kib);
        }
        const double ratio = best_extract.cpu_seconds / best_bzip2.cpu_seconds;
        std::printf("bzip2 -dc:        wall %7.3f s  cpu %7.3f s  peak %6ld KiB\n", best_bzip2.seconds,
                    best_bzip2.cpu_seconds, best_bzip2.peak_kib);
        std::printf("bzip2 -dc >file:  wall %7.3f s  cpu %7.3f s  peak %6ld KiB\n", best_bzip2_file.seconds,
                    best_bzip2_file.cpu_seconds, best_bzip2_file.peak_kib);
        std::printf("extract_payload:  wall %7.3f s  cpu %7.3f s  peak %6ld KiB  (%.1f MB/s of archive)\n",
                    best_extract.seconds, best_extract.cpu_seconds, best_extract.peak_kib,
                    g.archive_length / 1e6 / best_extract.seconds);
        std::printf("ratio extract / (bzip2 -dc >/dev/null): cpu %.3f, wall %.3f (goal <= 1.10 on cpu time): %s\n", ratio,
                    best_extract.seconds / best_bzip2.seconds, ratio <= 1.10 ? "met" : "NOT met");
        std::printf("ratio extract / (bzip2 -dc >file):      cpu %.3f, wall %.3f\n",
                    best_extract.cpu_seconds / best_bzip2_file.cpu_seconds, best_extract.seconds / best_bzip2_file.seconds);
        peaks.push_back(best_extract.peak_kib);
        fs::remove(g.file);
    }
    if (peaks.size() >= 2) {
        const long spread = *std::max_element(peaks.begin(), peaks.end()) - *std::min_element(peaks.begin(), peaks.end());
        std::printf("peak memory spread across sizes: %ld KiB (goal <= 2048 KiB): %s\n", spread,
                    spread <= 2048 ? "met" : "NOT met");
    }
    fs::remove_all(work);
    return failures ? 1 : 0;
}
