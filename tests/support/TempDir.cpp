// Temporary folders that clean up after themselves, and whole-file reads and writes.
#include "support/TempDir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testing_support {

TempDir::TempDir(Where where) {
    std::string pattern = (std::filesystem::temp_directory_path() / "gravimel-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder: " + pattern);
    folder = pattern;
    if (where == Inside) {
        previous = std::filesystem::current_path().string();
        std::filesystem::current_path(folder);
    }
}

TempDir::~TempDir() {
    std::error_code ignored; // a destructor that throws would end the test process
    if (!previous.empty()) std::filesystem::current_path(previous, ignored);
    std::filesystem::remove_all(folder, ignored);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const std::string& bytes) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace testing_support
