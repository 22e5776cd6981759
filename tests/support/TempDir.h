#pragma once
// A fresh temporary folder per test, removed with everything in it afterwards,
// and small helpers to look at the files a test leaves there.

#include <cstdint>
#include <string>
#include <vector>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Absolute path with a trailing separator.
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

std::vector<std::uint8_t> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
bool fileExists(const std::string& path);
long long fileSize(const std::string& path);

// The data folder that several registers share in a multi-register test:
// REGISTER_TORTURE_DIRS names it through different mounts (colon-separated,
// one per PC; registers take them in turn). Unset: the fallback folder.
std::vector<std::string> sharedDataFolders(const std::string& fallback);
