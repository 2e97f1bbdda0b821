#include "cli/deploy/file_state.h"

#include "cli/deploy/refusal.h"

#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace deploy {

FileState StateOf(const std::filesystem::path& file) {
    struct stat status {};
    FileState state;
    if (lstat(file.c_str(), &status) != 0)
        return state;
    if (S_ISLNK(status.st_mode)) {
        std::error_code error;
        state.kind = FileState::Kind::Link;
        state.target = std::filesystem::read_symlink(file, error);
    } else if (S_ISREG(status.st_mode)) {
        state.kind = FileState::Kind::File;
        state.mode = status.st_mode & 07777;
        std::ifstream stream(file, std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
        if (stream.is_open() && !stream.bad())
            state.bytes = std::move(bytes);
    } else {
        state.kind = FileState::Kind::Other;
    }
    return state;
}

FileState MenuFileState(const std::filesystem::path& file) {
    FileState state = StateOf(file);
    if (state.kind == FileState::Kind::File && !state.bytes)
        throw Refusal("« " + file.string() +
                      " » n'est pas un fichier lisible : aucune entrée de menu n'est ajoutée");
    return state;
}

} // namespace deploy
