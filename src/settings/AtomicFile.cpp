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

// Inside the program a path is UTF-8. Windows takes file names as UTF-16 (the wide "...W" calls);
// the ANSI calls would read UTF-8 in the user's code page and miss any folder named with letters
// beyond ASCII, such as C:\Users\Zoë.
#ifdef _WIN32
std::wstring Wide(const std::string& utf8) {
    if (utf8.empty())
        return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide; // empty for bytes that are not UTF-8: no file has that name, and the call fails
}

std::string Utf8(const std::wstring& wide) {
    if (wide.empty())
        return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
    return utf8;
}

fs::path NativePath(const std::string& utf8) {
    return fs::path(Wide(utf8));
}
std::string Utf8(const fs::path& path) {
    return Utf8(path.wstring());
}

// The system's own words for an error, beside its number, as strerror gives them on Linux.
std::string SystemError(DWORD code) {
    wchar_t* words = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&words), 0, nullptr);
    std::wstring text(words ? words : L"", n);
    LocalFree(words);
    while (!text.empty() &&
           (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    const std::string number = "error " + std::to_string(code);
    return text.empty() ? number : Utf8(text) + " (" + number + ")";
}
#else
fs::path NativePath(const std::string& path) {
    return fs::path(path);
}
std::string Utf8(const fs::path& path) {
    return path.string();
}
#endif

std::function<bool()>& BeforeRenameHook() {
    static std::function<bool()> hook;
    return hook;
}

// The file a link points at, so that replacing keeps the link.
std::string ResolveTarget(const std::string& path) {
    std::error_code ec;
    const fs::path native = NativePath(path);
    if (fs::is_symlink(fs::symlink_status(native, ec))) {
        fs::path target = fs::read_symlink(native, ec);
        if (!ec) {
            if (target.is_relative())
                target = native.parent_path() / target;
            return Utf8(target);
        }
    }
    return path;
}

// Replace's temporary files are ".<file>.save-" + six letters or digits + ".tmp": a marker nobody
// gives a backup by chance, so clearing leftovers never takes a user's ".Lookabout.ini.old123".
constexpr std::size_t kRandomLength = 6;
constexpr const char* kTempSuffix = ".tmp";
std::string TempPrefix(const std::string& target) {
    return "." + target + ".save-";
}

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
    const fs::path target = NativePath(ResolveTarget(pathIn));
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string file = Utf8(target.filename());
    std::error_code ec;
    fs::directory_iterator it(dir, ec), end;
    int removed = 0;
    for (; !ec && it != end; it.increment(ec)) {
        const fs::path entry = it->path();
        if (IsLeftoverName(file, Utf8(entry.filename())) && IsOwnPlainFile(entry) && fs::remove(entry, ec))
            ++removed;
        ec.clear();
    }
    return removed;
}

void SetBeforeRenameHookForTest(std::function<bool()> hook) {
    BeforeRenameHook() = std::move(hook);
}

ReadResult ReadAll(const std::string& path, std::string& bytes) {
    bytes.clear();
    std::error_code ec;
    const fs::path native = NativePath(path);
    const auto status = fs::status(native, ec);
    if (ec || status.type() == fs::file_type::not_found)
        return ec && ec != std::errc::no_such_file_or_directory ? ReadResult::Failed : ReadResult::Missing;
    if (status.type() != fs::file_type::regular)
        return ReadResult::Failed;
    std::ifstream in(native, std::ios::binary);
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

namespace {

// A virus scanner or an indexer opens a new or changed file for a moment; until it lets go the
// file cannot be replaced. These are the errors such a moment gives.
bool IsMomentary(DWORD code) {
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION || code == ERROR_ACCESS_DENIED ||
           code == ERROR_UNABLE_TO_REMOVE_REPLACED || code == ERROR_UNABLE_TO_MOVE_REPLACEMENT;
}

// One try at putting the temporary file in the place of the target. ReplaceFileW keeps what belongs
// to the old file (attributes such as hidden, the permissions, alternate streams); MoveFileExW, which
// would give it the temporary file's instead, only creates a file that is not there yet.
// Returns 0 or the error.
DWORD TryReplace(const std::wstring& temp, const std::wstring& target) {
    // Asking for delete access first tells whether someone holds the file, and touches nothing;
    // Wine's ReplaceFileW would leave an empty "rf*.tmp" in the folder at each try that finds it held.
    HANDLE probe = CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    DWORD code = probe == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        if (ReplaceFileW(target.c_str(), temp.c_str(), nullptr,
                         REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr))
            return 0;
        code = GetLastError();
    }
    if (code == ERROR_FILE_NOT_FOUND)
        code = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) ? 0 : GetLastError();
    return code;
}

// Tries again while the error is a scanner's moment. Returns 0 or the error of the last try.
DWORD PutInPlace(const std::wstring& temp, const std::wstring& target) {
    constexpr DWORD kPausesMs[] = {20, 40, 80, 160, 200}; // half a second in all
    for (std::size_t attempt = 0;; ++attempt) {
        const DWORD code = TryReplace(temp, target);
        if (code == 0 || !IsMomentary(code) || attempt == std::size(kPausesMs))
            return code;
        Sleep(kPausesMs[attempt]);
    }
}

} // namespace

bool Replace(const std::string& pathIn, const std::string& bytes, std::string& error) {
    const std::wstring path = Wide(ResolveTarget(pathIn));
    if (path.empty()) {
        error = "the file's name is not UTF-8";
        return false;
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        error = "the file is read-only";
        return false;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = "it is not a regular file";
        return false;
    }
    const fs::path target(path);
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // GetTempFileName would name it "lka<hex>.tmp", which nothing ties to this program; make our own name.
    const std::wstring prefix = (dir / Wide(TempPrefix(Utf8(target.filename())))).wstring();
    const wchar_t alphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::wstring tempName;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        tempName = prefix;
        for (std::size_t i = 0; i < kRandomLength; ++i)
            tempName += alphabet[random() % (std::size(alphabet) - 1)];
        tempName += Wide(kTempSuffix);
        file = CreateFileW(tempName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (file == INVALID_HANDLE_VALUE) {
        error = "cannot create a file in " + Utf8(dir) + ": " + SystemError(GetLastError());
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
        error = "cannot write " + Utf8(tempName) + ": " + SystemError(code);
        DeleteFileW(tempName.c_str());
        return false;
    }
    // ReplaceFileW carries these over too, but says nothing when it cannot (IGNORE_MERGE_ERRORS).
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kKept))
        SetFileAttributesW(tempName.c_str(), attributes & kKept);
    if (BeforeRenameHook() && !BeforeRenameHook()()) {
        error = "interrupted before the rename";
        DeleteFileW(tempName.c_str());
        return false;
    }
    if (const DWORD code = PutInPlace(tempName, path)) {
        error = "cannot replace the file: " + SystemError(code);
        DeleteFileW(tempName.c_str());
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
