// Whole-file reads and crash-safe replacement of the settings file. Paths are UTF-8 on every system.
#pragma once

#include <functional>
#include <string>

namespace atomic_file {

enum class ReadResult { Ok, Missing, Failed };

// Reads the whole file as bytes. A directory or an unreadable file is Failed, not Missing.
ReadResult ReadAll(const std::string& path, std::string& bytes);

// Replaces the file's content so that a crash at any moment leaves either the old or the new file:
// the bytes go to a temporary file in the same folder (".<file>.save-XXXXXX.tmp"), are flushed to
// the disk, and the temporary file then takes the target's place (on Windows with ReplaceFileW, which keeps the
// old file's attributes and permissions; a file held open for a moment by a scanner is tried again for up to
// half a second). A link is followed, so the file it points at is replaced. On failure the old file is
// untouched, the temporary file is gone, and `error` says why, in the system's own words.
bool Replace(const std::string& path, const std::string& bytes, std::string& error);

// Removes the temporary files that replacements of `path` left behind when the process was killed
// between creating one and renaming it. Only plain files of this user that carry Replace's marker
// (".<file>.save-XXXXXX.tmp") are touched, so call it while no other process can be saving the
// same file. Returns how many were removed.
int RemoveLeftovers(const std::string& path);

// Tests use this to fail a replacement after the temporary file is written but before the rename.
// Returning false from the hook makes Replace fail there.
void SetBeforeRenameHookForTest(std::function<bool()> hook);

} // namespace atomic_file
