// Whole-file reads and crash-safe replacement; the only file with operating-system calls in the core.
#include "settings/AtomicFile.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#ifdef _WIN32
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

// Replace's temporary files are ".<file>.save-" + six letters or digits + ".tmp": a marker nobody
// gives a backup by chance, so clearing leftovers never takes a user's ".Lookabout.ini.old123".
constexpr std::size_t kRandomLength = 6;
constexpr const char* kTempSuffix = ".tmp";
std::string TempPrefix(const std::string& target) { return "." + target + ".save-"; }

bool IsLeftoverName(const std::string& target, const std::string& name) {
    const std::string prefix = TempPrefix(target);
    const std::string suffix = kTempSuffix;
    if (name.size() != prefix.size() + kRandomLength + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix))
        return false;
    for (std::size_t i = prefix.size(); i < prefix.size() + kRandomLength; ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

// Only a plain file of this user: a link, a folder or another user's file of that name is not ours.
bool IsOwnPlainFile(const fs::path& entry) {
#ifdef _WIN32
    std::error_code ec;
    return fs::is_regular_file(fs::symlink_status(entry, ec));
#else
    struct stat st {};
    return ::lstat(entry.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
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
        if (IsLeftoverName(file, entry.filename().string()) && IsOwnPlainFile(entry) && fs::remove(entry, ec))
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
    // GetTempFileName would name it "lka<hex>.tmp", which nothing ties to this program; make our own name.
    const std::string prefix = (dir / TempPrefix(target.filename().string())).string();
    const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::string tempName;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        tempName = prefix;
        for (std::size_t i = 0; i < kRandomLength; ++i)
            tempName += alphabet[random() % (sizeof alphabet - 1)];
        tempName += kTempSuffix;
        file = CreateFileA(tempName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (file == INVALID_HANDLE_VALUE) {
        error = "cannot create a file in " + dir.string() + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    DWORD written = 0;
    bool ok = bytes.size() <= MAXDWORD &&
              WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size() && FlushFileBuffers(file);
    const DWORD writeError = ok ? 0 : GetLastError();
    ok = CloseHandle(file) && ok;
    if (!ok) {
        const DWORD code = writeError ? writeError : GetLastError();
        error = "cannot write " + tempName + " (error " + std::to_string(code) + ")";
        DeleteFileA(tempName.c_str());
        return false;
    }
    if (BeforeRenameHook() && !BeforeRenameHook()()) {
        error = "interrupted before the rename";
        DeleteFileA(tempName.c_str());
        return false;
    }
    if (!MoveFileExA(tempName.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = "cannot replace the file (error " + std::to_string(GetLastError()) + ")";
        DeleteFileA(tempName.c_str());
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
    std::string temp = dir + "/" + TempPrefix(target.filename().string()) + "XXXXXX" + kTempSuffix;
    const int fd = ::mkstemps(temp.data(), static_cast<int>(std::strlen(kTempSuffix)));
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
