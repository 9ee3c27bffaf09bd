// The main of a fuzz target built without libFuzzer: feeds every file of the folders (or the
// files) named on the command line through LLVMFuzzerTestOneInput, in name order, and prints
// how many it ran. A folder that holds no input is a failure, so a corpus that went missing
// is noticed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool replayFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    // A heap copy of exactly the input's size, so that a read past its end is caught.
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(data.empty() ? nullptr : data.data(), data.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER_OR_FILE...\n", argv[0]);
        return 2;
    }
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path target = argv[i];
        std::error_code error;
        if (!fs::is_directory(target, error)) {
            if (!replayFile(target)) ++failures;
            continue;
        }
        std::vector<fs::path> files;
        for (const fs::directory_entry& entry : fs::directory_iterator(target, error)) {
            if (entry.is_regular_file()) files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        std::size_t replayed = 0;
        for (const fs::path& file : files) {
            if (replayFile(file)) ++replayed;
            else ++failures;
        }
        std::printf("replayed %zu inputs from %s\n", replayed, target.c_str());
        if (replayed == 0) {
            std::fprintf(stderr, "no inputs in %s\n", target.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
