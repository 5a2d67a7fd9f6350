// The private-profile operations on top of IniText and AtomicFile.
#include "settings/PrivateProfile.h"

#include "settings/AtomicFile.h"
#include "settings/IniText.h"
#include "settings/TextRules.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace profile {

namespace {

std::string& LastErrorText() {
    static std::string text;
    return text;
}

std::size_t& Replacements() {
    static std::size_t count = 0;
    return count;
}

Session*& Innermost() {
    static Session* session = nullptr;
    return session;
}

bool Store(const std::string& path, const std::string& bytes) {
    std::string error;
    if (!atomic_file::Replace(path, bytes, error)) {
        LastErrorText() = error;
        return false;
    }
    ++Replacements();
    return true;
}

std::string Describe(atomic_file::ReadResult result) {
    return result == atomic_file::ReadResult::Failed ? "the file cannot be read" : "";
}

} // namespace

struct SessionAccess {
    static Session* Find(const std::string& path) {
        for (Session* s = Innermost(); s; s = s->outer_)
            if (s->path_ == path)
                return s;
        return nullptr;
    }
    static IniText& Text(Session& s) { return *s.text_; }
    static void Refuse(Session& s, std::string why) {
        if (!s.refused_)
            s.refusal_ = std::move(why);
        s.refused_ = true;
    }
};

namespace {

// Runs `use` on the text of `path`: the session's copy, or a fresh read of the file.
template <typename Use> auto WithText(const std::string& path, Use use) {
    if (Session* s = SessionAccess::Find(path))
        return use(SessionAccess::Text(*s));
    std::string bytes;
    atomic_file::ReadAll(path, bytes);
    IniText text(bytes);
    return use(text);
}

} // namespace

Session::Session(std::string path) : path_(std::move(path)), outer_(Innermost()) {
    joined_ = SessionAccess::Find(path_);
    if (joined_)
        return;
    existed_ = atomic_file::ReadAll(path_, original_) == atomic_file::ReadResult::Ok;
    text_ = std::make_unique<IniText>(original_);
    Innermost() = this;
}

Session::~Session() {
    if (joined_)
        return;
    // Sessions nest like scopes; unlink this one wherever it stands.
    for (Session** link = &Innermost(); *link; link = &(*link)->outer_) {
        if (*link == this) {
            *link = outer_;
            break;
        }
    }
}

bool Session::Commit() {
    if (joined_) {
        if (joined_->refused_)
            LastErrorText() = joined_->refusal_;
        return !joined_->refused_;
    }
    // What was accepted is written even when one write was refused, so one bad value
    // does not cost the others; the refusal is still reported.
    std::string bytes = text_->Bytes();
    if (!existed_ || bytes != original_) {
        if (!Store(path_, bytes))
            return false;
        original_ = std::move(bytes);
        existed_ = true;
    }
    if (refused_) {
        LastErrorText() = refusal_;
        refused_ = false;
        return false;
    }
    return true;
}

bool Session::CommitWhole() {
    if (!joined_ && refused_) {
        LastErrorText() = refusal_;
        refused_ = false;
        return false;
    }
    return Commit();
}

int GetInt(const char* section, const char* key, int defaultValue, const std::string& path) {
    if (!section || !key)
        return defaultValue;
    return WithText(path, [&](IniText& text) {
        const auto value = text.Value(section, key);
        if (!value || value->empty())
            return defaultValue;
        return static_cast<int>(text_rules::LeadingInteger(*value));
    });
}

namespace {

// Copies names, each ended by a NUL, the list ended by a further NUL, as the Windows calls do:
// returns the characters copied without the final NUL; a list cut by the buffer ends in two NULs,
// and then the result is size - 2. An exact fit counts as too small.
std::size_t CopyList(const std::vector<std::string>& names, char* buffer, std::size_t size) {
    std::string list;
    for (const std::string& name : names) {
        list += name;
        list += '\0';
    }
    if (list.empty()) {
        buffer[0] = '\0';
        if (size > 1)
            buffer[1] = '\0';
        return 0;
    }
    if (list.size() + 2 <= size) {
        std::memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        return list.size();
    }
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

} // namespace

std::size_t GetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                      std::size_t size, const std::string& path) {
    if (!buffer || size == 0)
        return 0;
    if (!section)
        return GetSectionNames(buffer, size, path);
    if (!key)
        return CopyList(WithText(path, [&](IniText& text) { return text.KeyNames(section); }), buffer, size);
    std::string value = defaultValue ? defaultValue : "";
    // The Windows call drops the default's trailing blanks (spaces) too.
    value.erase(value.find_last_not_of(' ') + 1);
    if (auto found = WithText(path, [&](IniText& text) { return text.Value(section, key); }))
        value = std::move(*found);
    const std::size_t n = std::min(value.size(), size - 1);
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return n;
}

std::size_t GetSectionNames(char* buffer, std::size_t size, const std::string& path) {
    if (!buffer || size == 0)
        return 0;
    return CopyList(WithText(path, [](IniText& text) { return text.SectionNames(); }), buffer, size);
}

bool WriteString(const char* section, const char* key, const char* value, const std::string& path) {
    if (!section) {
        LastErrorText() = "no section was named";
        return false;
    }
    auto change = [&](IniText& text) {
        if (!key) {
            text.RemoveSection(section);
        } else if (!value) {
            text.RemoveKey(section, key);
        } else if (!text.SetValue(section, key, value)) {
            return false;
        }
        return true;
    };
    const std::string refusal = std::string("the name or value of [") + section + "] " + (key ? key : "") +
                                " would change the file's structure";
    if (Session* s = SessionAccess::Find(path)) {
        if (change(SessionAccess::Text(*s)))
            return true;
        SessionAccess::Refuse(*s, refusal);
        LastErrorText() = refusal;
        return false;
    }
    std::string bytes;
    const auto read = atomic_file::ReadAll(path, bytes);
    if (read == atomic_file::ReadResult::Failed) {
        LastErrorText() = Describe(read);
        return false;
    }
    IniText text(bytes);
    if (!change(text)) {
        LastErrorText() = refusal;
        return false;
    }
    std::string changed = text.Bytes();
    if (read == atomic_file::ReadResult::Ok && changed == bytes)
        return true;
    return Store(path, changed);
}

const std::string& LastError() { return LastErrorText(); }

std::size_t ReplacementCount() { return Replacements(); }

} // namespace profile
