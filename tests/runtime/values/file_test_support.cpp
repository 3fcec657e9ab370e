#include "runtime/values/file_test_support.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>

namespace kestran::testing {

TempFolder::TempFolder() {
    // A folder this call makes, never one found there (as mkdtemp, also where there is none).
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        auto candidate = std::filesystem::temp_directory_path() / ("kestran-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) path_ = candidate;
    }
    if (path_.empty()) throw std::runtime_error("cannot make a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> FilesBelow(const std::filesystem::path& root) {
    std::vector<std::string> found;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
        if (e.is_symlink() || e.is_regular_file())
            found.push_back(std::filesystem::relative(e.path(), root).generic_string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

long FaultyFileSystem::Write(int fd, const void* data, std::size_t size) {
    int e = Fault("write");
    if (e == kHalfWrite) return real_.Write(fd, data, size / 2);
    if (e) return -e;
    return real_.Write(fd, data, size);
}

FilesFixture::FilesFixture() : drives(temp.path() / "drives", &fs) {
    platform.drives = &drives;
    platform.errorLog = &log;
}

}  // namespace kestran::testing
