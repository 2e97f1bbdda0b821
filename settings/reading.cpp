#include "settings/settings_file.h"

#include "paths/program_path.h"
#include "paths/resolved_path.h"
#include "settings/text_decoding.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace mdCode {
namespace {

// A settings file holds one address; anything far larger is not one, and is refused rather
// than read into memory.
constexpr off_t LargestReadableFile = 1 << 20;

// The path with every link resolved; throws FileError naming `shown` when it cannot be had.
std::string RealPathOrThrow(const std::filesystem::path& path, const std::filesystem::path& shown) {
    const std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr),
                                                           &std::free);
    if (!real) {
        throw FileError(shown.string(), errno);
    }
    return real.get();
}

// What is opened to read `file`: the file itself, or the file a symbolic link leads to when
// that is below the link's own folder. A link planted in a published upload folder could
// otherwise bring any readable file (~/.ssh/..., /proc/self/status) into every address.
std::filesystem::path FileToOpen(const std::filesystem::path& file) {
    struct stat own {};
    if (lstat(file.c_str(), &own) != 0 || !S_ISLNK(own.st_mode)) {
        return file;
    }
    const std::string target = RealPathOrThrow(file, file);
    const std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
    if (!IsBelow(RealPathOrThrow(folder, folder), target)) {
        throw FileError::LinkLeavesFolder(file.string(), target);
    }
    return target;
}

struct CloseFile {
    void operator()(const int* descriptor) const { close(*descriptor); }
};

// The bytes of the regular file that was opened: the checks are made on the open descriptor,
// so that nothing put in the file's place in between is read. O_NONBLOCK keeps the opening of a
// FIFO from waiting for a writer; a FIFO or a device is then refused.
std::string ReadBytes(const std::filesystem::path& file) {
    int descriptor = open(FileToOpen(file).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        throw FileError(file.string(), errno);
    }
    const std::unique_ptr<const int, CloseFile> closer(&descriptor);
    struct stat status {};
    if (fstat(descriptor, &status) != 0) {
        throw FileError(file.string(), errno);
    }
    if (S_ISDIR(status.st_mode)) {
        throw FileError(file.string(), EISDIR);
    }
    if (!S_ISREG(status.st_mode)) {
        throw FileError::NotRegularFile(file.string());
    }
    if (status.st_size > LargestReadableFile) {
        throw FileError(file.string(), EFBIG);
    }
    std::string bytes;
    char buffer[4096];
    ssize_t count = 0;
    while ((count = read(descriptor, buffer, sizeof buffer)) != 0) {
        if (count > 0) {
            bytes.append(buffer, static_cast<std::size_t>(count));
        } else if (errno != EINTR) {
            throw FileError(file.string(), errno);
        }
        // A file that grows while it is read is held to the same limit.
        if (bytes.size() > static_cast<std::size_t>(LargestReadableFile)) {
            throw FileError(file.string(), EFBIG);
        }
    }
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

} // namespace

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

} // namespace mdCode
