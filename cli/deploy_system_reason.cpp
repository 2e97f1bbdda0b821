#include "cli/deploy_system_reason.h"

#include "files/file_error.h"

#include <filesystem>

namespace deploy {

std::string FrenchReason(const std::system_error& error) {
    std::string file;
    if (const auto* fileSystemError =
            dynamic_cast<const std::filesystem::filesystem_error*>(&error)) {
        file = fileSystemError->path1().string();
    } else {
        // The text given when it was thrown, the file, then ": " and the system's English words.
        file = error.what();
        const std::string english = ": " + error.code().message();
        if (file.ends_with(english)) {
            file.resize(file.size() - english.size());
        }
    }
    const std::string reason = mdCode::FrenchReason(error.code().value());
    return file.empty() ? reason : file + " : " + reason;
}

} // namespace deploy
