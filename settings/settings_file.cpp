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
#include <optional>
#include <random>
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

// The regular file that a save replaces, as it stands; none for a new file or a link.
std::optional<struct stat> ReplacedRegularFile(const std::filesystem::path& file) {
    struct stat own {};
    if (lstat(file.c_str(), &own) == 0 && S_ISREG(own.st_mode)) {
        return own;
    }
    return std::nullopt;
}

// The permission bits the new file gets: those of the regular file it replaces, or those the
// system gave the new file (the user's umask applied). A symbolic link is replaced, not
// followed, so its target's mode (/dev/zero is world-writable) is not the file's; the new file
// is still no more open than the target was.
mode_t ModeFor(const std::filesystem::path& file, const std::optional<struct stat>& replaced,
               int newFile) {
    if (replaced) {
        return replaced->st_mode & 07777;
    }
    struct stat created {};
    fstat(newFile, &created);
    const mode_t createdMode = created.st_mode & 07777;
    struct stat target {};
    return stat(file.c_str(), &target) == 0 ? createdMode & target.st_mode : createdMode;
}

// A file replaced in a folder shared by a group keeps that group, so that the other users can
// still write it. Only a group the saving user belongs to can be set: false otherwise, and the
// file then has the user's group, as any new file does.
bool KeepGroupOf(const struct stat& replaced, int newFile) {
    return fchown(newFile, static_cast<uid_t>(-1), replaced.st_gid) == 0;
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

// Closes the file once the step that filled it has run; false with errno set when either failed.
bool CloseAfter(int descriptor, bool filled) {
    const int fillError = errno;
    const bool closed = close(descriptor) == 0;
    if (!filled) {
        errno = fillError;
    }
    return filled && closed;
}

// A new file beside `file`, its name hidden (".PARAM.ini.Xy12Ab"), so that one left behind by a
// crash is neither listed by the program nor taken for a file of the folder. Created with the
// usual permissions, the umask applied by the system. -1 with errno set when none can be made.
int CreateHiddenTemporary(const std::filesystem::path& file, std::string& name) {
    constexpr std::string_view letters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    for (int tries = 0; tries < 100; ++tries) {
        std::string suffix(6, ' ');
        for (char& letter : suffix) {
            letter = letters[random() % letters.size()];
        }
        name = (file.parent_path() / ("." + file.filename().string() + "." + suffix)).string();
        const int descriptor = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST) {
            return descriptor;
        }
    }
    return -1;
}

// Writes the bytes to a hidden file beside `file` and renames it over `file` in one step: a
// failure at any point leaves the previous file as it was. 0, or the error.
int ReplaceFile(const std::filesystem::path& file, std::string_view bytes) {
    std::string temporary;
    const int descriptor = CreateHiddenTemporary(file, temporary);
    if (descriptor < 0) {
        return errno;
    }
    const std::optional<struct stat> replaced = ReplacedRegularFile(file);
    if (replaced) {
        KeepGroupOf(*replaced, descriptor);
    }
    const mode_t mode = ModeFor(file, replaced, descriptor);
    if (!CloseAfter(descriptor, fchmod(descriptor, mode) == 0 && WriteAll(descriptor, bytes) &&
                                    fsync(descriptor) == 0) ||
        std::rename(temporary.c_str(), file.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        return error;
    }
    return 0;
}

// Rewrites a regular file in place, as an editor does where it may write the file but not its
// folder. The new content is complete before the old one is touched. Links are not followed.
bool RewriteInPlace(const std::filesystem::path& file, std::string_view bytes) {
    const int descriptor = open(file.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    struct stat status {};
    return CloseAfter(
        descriptor,
        fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && WriteAll(descriptor, bytes) &&
            ftruncate(descriptor, static_cast<off_t>(bytes.size())) == 0 && fsync(descriptor) == 0);
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

void WriteTextFile(const std::u16string& path, const std::u16string& text) {
    const std::filesystem::path file = ToNativePath(path);
    const std::string bytes = ToAnsi(text) + "\r\n";
    const int error = ReplaceFile(file, bytes);
    if (error == 0) {
        return;
    }
    if (error != EACCES && error != EPERM) {
        throw ErrorFor(file, error);
    }
    // No new file can be made in the folder: the file itself may still be writable.
    if (!RewriteInPlace(file, bytes)) {
        throw ErrorFor(file.parent_path(), error);
    }
}

} // namespace mdCode
