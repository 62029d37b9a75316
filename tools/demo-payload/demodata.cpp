// demodata: stages the demo payload and writes its manifest for installer-tool.
//
//   demodata OUTDIR HEADER_SIZE ARCHIVE_LENGTH KIND=FILE...
//
// Every KIND=FILE names a built program or library (main_program, uninstaller, standard_file,
// temporary_file) that is copied into OUTDIR/stage. The data files of the demo product (shared
// data, samples, textures and the DirectX cabinets) are generated there, deterministically.
// The manifest OUTDIR/demo.manifest lists everything in installation order with source paths
// relative to OUTDIR. Only the last element of a source is installed, so the folders above it
// are named to make the archive's header HEADER_SIZE bytes long, and the last data file is
// sized to make the archive ARCHIVE_LENGTH bytes long; when either cannot be reached, the
// figure is left as it falls and a note is printed.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Entry {
    std::string kind;
    std::string destination;   // Windows folder with its macro
    std::string name;          // installed file name
    fs::path builtFile;        // a built file to copy, or empty for generated data
    std::uint64_t size = 0;    // generated data: its size
    std::string padding;       // folder under stage/ that pads the header
};

const char* const kSharedFolder = "<CommonData>\\Quillon\\Mobrix 6";
const char* const kMaterials = "<CommonData>\\Quillon\\Materials";
const char* const kTextures = "<CommonData>\\Quillon\\Textures\\Mobrix 6";
const char* const kUserFolder = "<UserData>\\Quillon\\Mobrix 6";

// Text-like bytes: words from a small vocabulary, so the data compresses as real project files
// do; pictures (".jpg") are noise, as compressed images are to bzip2.
void write_generated(const fs::path& path, std::uint64_t size, std::uint32_t seed) {
    const bool noise = path.extension() == ".jpg";
    static const char* const words[] = {"wall ", "beam ", "slab ", "roof ", "door ", "window ", "stair ", "column ",
                                        "level=", "x=", "y=", "z=", "0.25 ", "1.50 ", "12.0 ", "\r\n", "layer ",
                                        "material ", "oak ", "stone ", "steel ", "glass ", "{ ", "} "};
    std::ofstream out(path, std::ios::binary);
    std::string block;
    std::uint32_t state = seed * 2654435761u + 1;
    std::uint64_t written = 0;
    while (written < size) {
        block.clear();
        while (block.size() < 65536) {
            state = state * 1664525u + 1013904223u;
            if (noise) {
                block += static_cast<char>(state >> 24);
                continue;
            }
            block += words[(state >> 16) % (sizeof words / sizeof *words)];
            if ((state & 0x3F) == 0) block += static_cast<char>('A' + (state >> 8) % 26);
        }
        const std::uint64_t n = std::min<std::uint64_t>(block.size(), size - written);
        out.write(block.data(), static_cast<std::streamsize>(n));
        written += n;
    }
    if (!out) {
        std::cerr << "demodata: cannot write " << path << "\n";
        std::exit(1);
    }
}

std::string source_of(const Entry& e) {
    return "stage/" + (e.padding.empty() ? std::string() : e.padding + "/") + e.name;
}

// Bytes of one entry record in the archive header (UTF-16 lengths equal byte lengths here:
// every name and folder is ASCII).
std::uint64_t record_size(const Entry& e) {
    return 4 + 2 * source_of(e).size() + 4 + 2 * e.destination.size() + 4 + 8 + 4;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: demodata OUTDIR HEADER_SIZE ARCHIVE_LENGTH KIND=FILE...\n";
        return 2;
    }
    const fs::path out = argv[1];
    const std::uint64_t headerTarget = std::strtoull(argv[2], nullptr, 10);
    const std::uint64_t lengthTarget = std::strtoull(argv[3], nullptr, 10);

    std::vector<Entry> built[6];  // by installation order: main, uninstaller, standard, then the rest
    std::vector<Entry> temporaries;
    for (int i = 4; i < argc; ++i) {
        const std::string argument = argv[i];
        const auto equals = argument.find('=');
        if (equals == std::string::npos) {
            std::cerr << "demodata: expected KIND=FILE, got " << argument << "\n";
            return 2;
        }
        Entry e;
        e.kind = argument.substr(0, equals);
        e.builtFile = argument.substr(equals + 1);
        e.name = e.builtFile.filename().string();
        if (e.kind == "main_program") {
            e.destination = "<InstallPath>";
            built[0].push_back(e);
        } else if (e.kind == "uninstaller") {
            e.destination = "<InstallPath>";
            built[1].push_back(e);
        } else if (e.kind == "standard_file") {
            e.destination = "<InstallPath>\\Lang";
            built[2].push_back(e);
        } else if (e.kind == "temporary_file") {
            e.destination = "<Temporary>";
            temporaries.push_back(e);
        } else {
            std::cerr << "demodata: unknown kind " << e.kind << "\n";
            return 2;
        }
    }

    std::vector<Entry> entries;
    for (auto& group : built) entries.insert(entries.end(), group.begin(), group.end());
    auto data = [&entries](const char* kind, const char* folder, const char* name, std::uint64_t size) {
        Entry e;
        e.kind = kind;
        e.destination = folder;
        e.name = name;
        e.size = size;
        entries.push_back(e);
    };
    for (const char* name : {"Library.mlb", "Symbols.mlb", "Profiles.mlb", "Fonts.mlb", "Hatches.mlb", "Linetypes.mlb",
                             "Furniture.mlb", "Landscape.mlb", "Lighting.mlb", "Sanitary.mlb"}) {
        data("shared_data", kSharedFolder, name, 250000);
    }
    for (const char* name : {"Wood.mat", "Stone.mat", "Metal.mat", "Glass.mat", "Concrete.mat", "Brick.mat",
                             "Plaster.mat", "Tiles.mat"}) {
        data("shared_data", kMaterials, name, 80000);
    }
    for (const char* name : {"UserImages.mui", "Favorites.mlb", "Recent.mlb", "Toolbars.mtb"}) {
        data("shared_data", kUserFolder, name, 20000);
    }
    for (const char* name : {"House.mbx6", "Villa.mbx6", "Office.mbx6", "School.mbx6", "Garage.mbx6", "Barn.mbx6",
                             "Loft.mbx6", "Chalet.mbx6", "Terrace.mbx6", "Studio.mbx6", "Cottage.mbx6", "Duplex.mbx6",
                             "Pavilion.mbx6", "Workshop.mbx6"}) {
        data("sample_data", "<SamplePath>", name, 500000);
    }
    for (const char* name : {"Oak.jpg", "Pine.jpg", "Marble.jpg", "Granite.jpg", "Slate.jpg", "Sand.jpg", "Grass.jpg",
                             "Water.jpg", "Sky.jpg", "Rust.jpg", "Cork.jpg", "Linen.jpg", "Leather.jpg", "Gravel.jpg"}) {
        data("sample_data", kTextures, name, 350000);
    }
    entries.insert(entries.end(), temporaries.begin(), temporaries.end());
    for (const char* name : {"dxdllreg_x86.cab", "dxupdate.cab", "Jun2010_D3DCompiler_43_x86.cab",
                             "Jun2010_d3dx9_43_x86.cab"}) {
        data("temporary_file", "<Temporary>", name, 150000);
    }

    // Header: pad the source folders of the generated files, one character at a time.
    std::uint64_t header = 12;
    for (const Entry& e : entries) header += record_size(e);
    std::vector<Entry*> generated;
    for (Entry& e : entries) {
        if (e.builtFile.empty()) generated.push_back(&e);
    }
    if (header <= headerTarget && (headerTarget - header) % 2 == 0) {
        // Each padding folder "p..." adds its length plus a separator.
        std::uint64_t units = (headerTarget - header) / 2;
        for (size_t i = 0; units > 0; i = (i + 1) % generated.size()) {
            Entry& e = *generated[i];
            const std::uint64_t add = e.padding.empty() ? (units >= 2 ? 2 : 0) : 1;
            if (add == 0) {
                // A single unit left: lengthen a folder that already exists.
                for (Entry* g : generated) {
                    if (!g->padding.empty()) {
                        g->padding += "x";
                        units = 0;
                        break;
                    }
                }
                break;
            }
            e.padding += e.padding.empty() ? "p" : "x";
            units -= add;
        }
        header = 12;
        for (const Entry& e : entries) header += record_size(e);
    }
    if (header != headerTarget) std::cerr << "demodata: note: header size " << header << ", not " << headerTarget << "\n";

    // Length: the last generated data file takes what the others leave.
    fs::create_directories(out / "stage");
    std::uint64_t length = header;
    for (Entry& e : entries) {
        if (!e.builtFile.empty()) e.size = fs::file_size(e.builtFile);
        length += e.size;
    }
    Entry& last = *generated.back();
    if (length <= lengthTarget || length - lengthTarget < last.size) {
        last.size = last.size + lengthTarget - length;  // unsigned wrap-around cancels out
        length = lengthTarget;
    } else {
        std::cerr << "demodata: note: archive length " << length << ", not " << lengthTarget << "\n";
    }

    std::ofstream manifest(out / "demo.manifest", std::ios::binary);
    manifest << "# The demo payload, generated by demodata.\n# KIND | DESTINATION FOLDER | SOURCE FILE\n";
    std::uint32_t seed = 1;
    for (const Entry& e : entries) {
        const fs::path target = out / source_of(e);
        fs::create_directories(target.parent_path());
        if (!e.builtFile.empty()) {
            fs::copy_file(e.builtFile, target, fs::copy_options::overwrite_existing);
        } else {
            write_generated(target, e.size, seed);
        }
        ++seed;
        manifest << e.kind << " | " << e.destination << " | " << source_of(e) << "\n";
    }
    std::cout << "demodata: " << entries.size() << " entries, header " << header << " bytes, archive " << length
              << " bytes\n";
    return manifest ? 0 : 1;
}
