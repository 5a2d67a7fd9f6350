// Whole-file reads and crash-safe replacement; the only file with operating-system calls in the core.
#include "start/AtomicFile.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace atomic_file {
namespace {

std::function<bool()>& BeforeRenameHook() {
    static std::function<bool()> hook;
    return hook;
}

// The file a link points at, so that replacing keeps the link.
std::string ResolveTarget(const std::string& path) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(path, ec))) {
        fs::path target = fs::read_symlink(path, ec);
        if (!ec) {
            if (target.is_relative())
                target = fs::path(path).parent_path() / target;
            return target.string();
        }
    }
    return path;
}

// Replace's temporary names: ".<file>.XXXXXX" from mkstemp, or GetTempFileName's "lka<hex>.tmp".
bool IsLeftoverName(const std::string& target, const std::string& name) {
#ifdef _WIN32
    (void)target;
    if (name.size() < 8 || name.size() > 11 || name.compare(0, 3, "lka") != 0 ||
        name.compare(name.size() - 4, 4, ".tmp") != 0)
        return false;
    for (std::size_t i = 3; i < name.size() - 4; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(name[i])))
            return false;
    return true;
#else
    const std::string prefix = "." + target + ".";
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i])))
            return false;
    return true;
#endif
}

} // namespace

int RemoveLeftovers(const std::string& pathIn) {
    const fs::path target(ResolveTarget(pathIn));
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string file = target.filename().string();
    std::error_code ec;
    fs::directory_iterator it(dir, ec), end;
    int removed = 0;
    for (; !ec && it != end; it.increment(ec)) {
        const fs::path entry = it->path();
        // Only plain files: a link or folder of that name is not ours to delete.
        if (IsLeftoverName(file, entry.filename().string()) && fs::is_regular_file(fs::symlink_status(entry, ec)) &&
            fs::remove(entry, ec))
            ++removed;
        ec.clear();
    }
    return removed;
}

void SetBeforeRenameHookForTest(std::function<bool()> hook) { BeforeRenameHook() = std::move(hook); }

ReadResult ReadAll(const std::string& path, std::string& bytes) {
    bytes.clear();
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (ec || status.type() == fs::file_type::not_found)
        return ec && ec != std::errc::no_such_file_or_directory ? ReadResult::Failed : ReadResult::Missing;
    if (status.type() != fs::file_type::regular)
        return ReadResult::Failed;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return ReadResult::Failed;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        return ReadResult::Failed;
    bytes = std::move(buffer).str();
    return ReadResult::Ok;
}

#ifdef _WIN32

bool Replace(const std::string& pathIn, const std::string& bytes, std::string& error) {
    const std::string path = ResolveTarget(pathIn);
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        error = "the file is read-only";
        return false;
    }
    const fs::path target(path);
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    char tempName[MAX_PATH];
    if (!GetTempFileNameA(dir.string().c_str(), "lka", 0, tempName)) {
        error = "cannot create a file in " + dir.string() + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    FILE* f = std::fopen(tempName, "wb");
    bool ok = f != nullptr;
    if (ok)
        ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && std::fflush(f) == 0 &&
             _commit(_fileno(f)) == 0;
    if (f)
        ok = (std::fclose(f) == 0) && ok;
    if (!ok) {
        error = std::strerror(errno);
        DeleteFileA(tempName);
        return false;
    }
    if (BeforeRenameHook() && !BeforeRenameHook()()) {
        error = "interrupted before the rename";
        DeleteFileA(tempName);
        return false;
    }
    if (!MoveFileExA(tempName, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = "cannot replace the file (error " + std::to_string(GetLastError()) + ")";
        DeleteFileA(tempName);
        return false;
    }
    return true;
}

#else

bool Replace(const std::string& pathIn, const std::string& bytes, std::string& error) {
    const std::string path = ResolveTarget(pathIn);
    struct stat old {};
    const bool existed = ::stat(path.c_str(), &old) == 0;
    // rename() would happily replace a read-only file in a writable folder; honour the file's own mode.
    if (existed && ::access(path.c_str(), W_OK) != 0) {
        error = std::strerror(errno);
        return false;
    }
    if (existed && !S_ISREG(old.st_mode)) {
        error = "it is not a regular file";
        return false;
    }
    const fs::path target(path);
    const std::string dir = target.has_parent_path() ? target.parent_path().string() : std::string(".");
    std::string temp = dir + "/." + target.filename().string() + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    auto fail = [&](int err) {
        error = std::strerror(err);
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    };
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    mode_t mode = 0;
    if (existed) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0)
        return fail(errno);
    if (::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        error = std::strerror(errno);
        ::unlink(temp.c_str());
        return false;
    }
    if (BeforeRenameHook() && !BeforeRenameHook()()) {
        error = "interrupted before the rename";
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        error = std::strerror(errno);
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

#endif

} // namespace atomic_file
