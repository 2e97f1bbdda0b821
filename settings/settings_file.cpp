#include "settings/settings_file.h"

#include "encoding/code_page.h"
#include "paths/program_path.h"
#include "settings/text_decoding.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fnmatch.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace mdCode {
namespace {

FileError ErrorFor(const std::filesystem::path& file, int error) {
    return FileError(file.string() + ": " + std::strerror(error));
}

// Names beginning with "." are the hidden files of POSIX systems.
bool IsNormalFile(const std::filesystem::path& file) {
    struct stat status {};
    return !file.filename().string().starts_with('.') && stat(file.c_str(), &status) == 0 &&
           S_ISREG(status.st_mode);
}

bool IsPattern(const std::string& name) {
    return name.find_first_of("*?") != std::string::npos;
}

// Only "*" and "?" are wildcards; "[" names itself, as it does in a Windows file pattern.
std::string FnmatchPattern(const std::string& name) {
    std::string pattern;
    for (const char character : name) {
        if (character == '[') {
            pattern += '\\';
        }
        pattern += character;
    }
    return pattern;
}

bool FolderHoldsNormalFileMatching(const std::filesystem::path& folder, const std::string& name) {
    const std::filesystem::path searched = folder.empty() ? "." : folder;
    DIR* directory = opendir(searched.c_str());
    if (directory == nullptr) {
        return false;
    }
    const std::string pattern = FnmatchPattern(name);
    bool found = false;
    while (!found) {
        const dirent* entry = readdir(directory);
        if (entry == nullptr) {
            break;
        }
        found = fnmatch(pattern.c_str(), entry->d_name, 0) == 0 &&
                IsNormalFile(searched / entry->d_name);
    }
    closedir(directory);
    return found;
}

// A settings file holds one address; anything far larger is not one, and is refused rather
// than read into memory.
constexpr off_t LargestReadableFile = 1 << 20;

std::string ReadBytes(const std::filesystem::path& file) {
    const int descriptor = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        throw ErrorFor(file, errno);
    }
    struct stat status {};
    if (fstat(descriptor, &status) == 0 && status.st_size > LargestReadableFile) {
        close(descriptor);
        throw ErrorFor(file, EFBIG);
    }
    std::string bytes;
    char buffer[4096];
    ssize_t count = 0;
    while ((count = read(descriptor, buffer, sizeof buffer)) != 0) {
        if (count > 0) {
            bytes.append(buffer, static_cast<std::size_t>(count));
        } else if (errno != EINTR) {
            const int error = errno;
            close(descriptor);
            throw ErrorFor(file, error);
        }
    }
    close(descriptor);
    return bytes;
}

// Splits the file's text into items. Leading spaces are skipped; an item that begins with a
// double quote runs to the next one and the rest of its line is dropped; any other item runs to
// the line end and keeps commas and trailing spaces. CR LF, a lone CR and a lone LF each end a
// line.
class ItemReader {
public:
    explicit ItemReader(std::u16string_view text) : text_(text) {}

    bool AtEnd() const { return position_ == text_.size(); }

    std::u16string Next() {
        position_ = std::min(text_.find_first_not_of(u' ', position_), text_.size());
        std::u16string_view item;
        if (!AtEnd() && text_[position_] == u'"') {
            const auto valueAt = position_ + 1;
            const auto closingQuoteAt = std::min(text_.find(u'"', valueAt), text_.size());
            item = text_.substr(valueAt, closingQuoteAt - valueAt);
            position_ = LineEndFrom(closingQuoteAt);
        } else {
            const auto lineEnd = LineEndFrom(position_);
            item = text_.substr(position_, lineEnd - position_);
            position_ = lineEnd;
        }
        SkipLineEnd();
        return std::u16string(item);
    }

private:
    std::size_t LineEndFrom(std::size_t from) const {
        return std::min(text_.find_first_of(u"\r\n", from), text_.size());
    }

    void SkipLineEnd() {
        if (!AtEnd() && text_[position_] == u'\r') {
            ++position_;
        }
        if (!AtEnd() && text_[position_] == u'\n') {
            ++position_;
        }
    }

    std::u16string_view text_;
    std::size_t position_ = 0;
};

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// The permission bits the new file gets: those of the regular file it replaces, or those of a
// newly created file (mkstemp would otherwise leave it readable by the owner only). A symbolic
// link is replaced, not followed, so its target's mode (/dev/zero is world-writable) is not the
// file's; the new file is still no more open than the target was.
mode_t ModeFor(const std::filesystem::path& file) {
    struct stat own {};
    if (lstat(file.c_str(), &own) != 0) {
        return NewFileMode();
    }
    if (S_ISREG(own.st_mode)) {
        return own.st_mode & 07777;
    }
    struct stat target {};
    return stat(file.c_str(), &target) == 0 ? NewFileMode() & target.st_mode : NewFileMode();
}

bool WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = write(descriptor, bytes.data(), bytes.size());
        if (count >= 0) {
            bytes.remove_prefix(static_cast<std::size_t>(count));
        } else if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

// Sets the mode, writes the bytes through to the disk and closes the file; false with errno set
// when a step failed.
bool FillAndClose(int descriptor, mode_t mode, std::string_view bytes) {
    const bool filled =
        fchmod(descriptor, mode) == 0 && WriteAll(descriptor, bytes) && fsync(descriptor) == 0;
    const int fillError = errno;
    const bool closed = close(descriptor) == 0;
    if (!filled) {
        errno = fillError;
    }
    return filled && closed;
}

} // namespace

bool FileExists(const std::u16string& path) {
    if (path.empty() || path.back() == u'\\') {
        return false;
    }
    try {
        const std::filesystem::path file = ToNativePath(path);
        const std::string name = file.filename().string();
        return IsPattern(name) ? FolderHoldsNormalFileMatching(file.parent_path(), name)
                               : IsNormalFile(file);
    } catch (...) {
        return false;
    }
}

std::optional<std::u16string> ReadTextFile(const std::u16string& path) {
    const std::u16string text = DecodeText(ReadBytes(ToNativePath(path)));
    ItemReader items(text);
    std::optional<std::u16string> result;
    while (!items.AtEnd()) {
        std::u16string item = items.Next();
        if (!result || result->empty()) {
            result = std::move(item);
        } else {
            *result += u"\r\n" + item;
        }
    }
    return result;
}

// The text goes to a temporary file beside the target, which then replaces the target in one
// rename: a failure at any point leaves the previous file as it was.
void WriteTextFile(const std::u16string& path, const std::u16string& text) {
    const std::filesystem::path file = ToNativePath(path);
    std::string temporary = file.string() + ".XXXXXX";
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) {
        throw ErrorFor(file, errno);
    }
    if (!FillAndClose(descriptor, ModeFor(file), ToAnsi(text) + "\r\n") ||
        std::rename(temporary.c_str(), file.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        throw ErrorFor(file, error);
    }
}

} // namespace mdCode
