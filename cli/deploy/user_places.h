#pragma once

#include <filesystem>
#include <functional>
#include <vector>

namespace deploy {

// Where the user's desktop reads applications, icons and file-manager entries from: the XDG base
// folders. As the XDG rules say, a variable that is unset, empty or not an absolute path is
// ignored, and the folder is then the one in the home.
class UserPlaces final {
public:
    // The variable's value, or null when it is unset.
    using Environment = std::function<const char*(const char* variable)>;
    explicit UserPlaces(const Environment& environment);

    // Each throws Refusal when it is unset and there is no home (HOME unset or relative) to
    // find it in.
    std::filesystem::path DataHome() const;
    std::filesystem::path ConfigHome() const;
    // The system's configuration folders, the first first.
    const std::vector<std::filesystem::path>& ConfigDirs() const { return configDirs_; }

private:
    std::filesystem::path home_;
    std::filesystem::path dataHome_;
    std::filesystem::path configHome_;
    std::vector<std::filesystem::path> configDirs_;
};

// The places of the user who runs the command.
UserPlaces CurrentUserPlaces();

} // namespace deploy
