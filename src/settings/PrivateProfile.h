// The four private-profile operations, with the parameters and results of the Windows calls
// (GetPrivateProfileInt, GetPrivateProfileString, GetPrivateProfileSectionNames,
// WritePrivateProfileString), so that settings files from Windows read and write the same here.
//
// Beyond the Windows calls: a write changes only the lines it must, reaches the disk atomically,
// refuses names and values that would change the file's structure, and says why it failed.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

class IniText;

namespace profile {

// The value as a signed decimal integer: a leading sign, then the digits up to the first
// non-digit ("12abc" is 12, "abc" is 0). `defaultValue` when the key is missing or empty.
int GetInt(const char* section, const char* key, int defaultValue, const std::string& path);

// Copies the value, or `defaultValue` without its trailing spaces when the key is missing, into
// `buffer`, cut to size - 1 characters and ended by a NUL. Returns the number of characters copied.
// With section == nullptr: the list of section names, as GetSectionNames gives it; with
// key == nullptr: the list of that section's key names, in the same form.
std::size_t GetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                      std::size_t size, const std::string& path);

// Copies every section name, each ended by a NUL, the list ended by a further NUL, and returns
// the characters copied without the final NUL. When the buffer is too small the last name is cut
// and followed by two NULs, and the result is size - 2.
std::size_t GetSectionNames(char* buffer, std::size_t size, const std::string& path);

// With a value: creates or replaces the key (and the section and the file when needed); a value
// that already reads the same leaves the file untouched.
// With value == nullptr: removes the key. With key == nullptr: removes the section and its keys.
// Returns false when the file cannot be written or the write is refused; LastError() says why.
bool WriteString(const char* section, const char* key, const char* value, const std::string& path);

// Why the last failed WriteString or Session::Commit failed, in words for a message box (UTF-8).
const std::string& LastError();

// While a Session for a path is open, the four operations on that path work on one copy in
// memory, and Commit() puts every change on the disk in one atomic replacement. Saving all
// characters writes 25 keys each; without a session each key would be a file replacement.
// A session opened while another one for the same path is open joins it: its changes are
// written by the outer session's Commit, so a larger step (adding a character and saving all)
// stays one replacement.
class Session {
public:
    explicit Session(std::string path);
    ~Session(); // closes without writing what was not committed
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Writes the changes, if any, in one replacement. False (see LastError) when that failed
    // or when a write inside the session was refused.
    bool Commit();
    // Like Commit, but when a write inside the session was refused nothing at all is written: for
    // changes that are only right as a whole (a character added; one deleted and the rest renumbered).
    bool CommitWhole();

    const std::string& Path() const { return path_; }

private:
    friend struct SessionAccess;
    std::string path_;
    std::unique_ptr<IniText> text_;
    std::string original_;
    bool existed_ = false;
    bool refused_ = false;
    std::string refusal_;
    Session* outer_ = nullptr;
    Session* joined_ = nullptr; // the open session of the same path this one joined
};

// How many times a file was replaced since the program started; for benchmarks and tests.
std::size_t ReplacementCount();

} // namespace profile
