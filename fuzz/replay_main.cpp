// Runs a fuzz target once on each input file named on the command line, so
// the committed corpus is replayed with the ordinary tests. A folder stands
// for every file in it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool replay(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::cerr << "cannot read " << path.string() << '\n';
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                  std::istreambuf_iterator<char>()};
    std::vector<std::uint8_t> data(bytes.size());
    std::transform(bytes.begin(), bytes.end(), data.begin(),
                   [](char c) { return static_cast<std::uint8_t>(c); });
    // Announced first, so a crash shows which input caused it.
    std::cerr << "replaying " << path.string() << '\n';
    LLVMFuzzerTestOneInput(data.data(), data.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
                if (entry.is_regular_file(error)) {
                    inputs.push_back(entry.path());
                }
            }
        } else {
            inputs.push_back(path);
        }
    }
    if (inputs.empty()) {
        std::cerr << "usage: " << argv[0] << " FILE_OR_FOLDER...\n"
                  << "no input to replay\n";
        return 1;
    }
    std::sort(inputs.begin(), inputs.end());
    bool ok = true;
    for (const auto& input : inputs) {
        ok = replay(input) && ok;
    }
    std::cerr << "replayed " << inputs.size() << " inputs\n";
    return ok ? 0 : 1;
}
