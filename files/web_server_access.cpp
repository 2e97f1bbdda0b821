#include "files/web_server_access.h"

#include "files/file_error.h"
#include "paths/resolved_path.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <grp.h>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/vfs.h>

namespace mdCode {
namespace {

constexpr const char* ServerNames[] = {"www-data", "nginx", "apache", "http"};

// File systems whose permission bits are made up by the mount, not kept with the files.
constexpr long FatMagic = 0x4d44;
constexpr long ExfatMagic = 0x2011BAB0;
constexpr long NtfsMagic = 0x5346544e;
constexpr long CifsMagic = static_cast<long>(0xFF534D42);
constexpr long Smb2Magic = static_cast<long>(0xFE534D42);
constexpr long FuseMagic = 0x65735546;

// The mount that holds the path, from the kernel's list: its point and its type.
struct Mount {
    std::string point;
    std::string type;
};

Mount MountOf(const std::string& path) {
    std::ifstream mounts("/proc/self/mountinfo");
    Mount found;
    for (std::string line; std::getline(mounts, line);) {
        // "36 35 98:0 / /mnt/point rw,noatime master:1 - fuse.sshfs host:/srv rw,…"
        std::istringstream fields(line);
        std::string skipped, point, field, type;
        fields >> skipped >> skipped >> skipped >> skipped >> point;
        while (fields >> field && field != "-") {
        }
        fields >> type;
        if ((IsBelow(point, path) || point == path) && point.size() >= found.point.size())
            found = {point, type};
    }
    return found;
}

// FUSE mounts differ: sshfs shows the server's bits; GVFS shows an SFTP server's, and its own for
// SMB, WebDAV and the rest; NTFS and exFAT drivers make them up.
bool FuseShowsRealPermissions(const std::string& path) {
    const Mount mount = MountOf(path);
    if (mount.type == "fuse.sshfs")
        return true;
    if (mount.type == "fuse.gvfsd-fuse")
        return path.compare(mount.point.size(), 6, "/sftp:") == 0;
    return false;
}

bool ShowsRealPermissions(const std::string& path) {
    struct statfs system {};
    if (statfs(path.c_str(), &system) != 0)
        return false;
    switch (static_cast<long>(system.f_type)) {
    case FatMagic:
    case ExfatMagic:
    case NtfsMagic:
    case CifsMagic:
    case Smb2Magic:
        return false;
    case FuseMagic:
        return FuseShowsRealPermissions(path);
    default:
        return true;
    }
}

bool Holds(const std::vector<unsigned>& ids, unsigned id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

} // namespace

WebServerAccess::WebServerAccess(std::string programFolder)
    : programFolder_(std::move(programFolder)) {}

// The web server's users and groups, and the file system's kind, are looked up only for a file
// or folder that others may not use: most files need neither.
bool WebServerAccess::ServerMayUse(const struct stat& status, mode_t needed) {
    if (!serverIds_) {
        serverIds_.emplace();
        for (const char* name : ServerNames) {
            if (const passwd* user = getpwnam(name))
                serverIds_->users.push_back(user->pw_uid);
            if (const group* found = getgrnam(name))
                serverIds_->groups.push_back(found->gr_gid);
        }
    }
    if ((Holds(serverIds_->groups, status.st_gid) && (status.st_mode & (needed << 3))) ||
        (Holds(serverIds_->users, status.st_uid) && (status.st_mode & (needed << 6))))
        return true;
    if (!meaningful_)
        meaningful_ = ShowsRealPermissions(programFolder_);
    return !*meaningful_;
}

std::optional<Obstacle> WebServerAccess::ObstacleAt(const std::string& path, bool folder) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return std::nullopt;
    const mode_t needed = folder ? S_IXOTH : S_IROTH;
    if ((status.st_mode & needed) || ServerMayUse(status, needed))
        return std::nullopt;
    return Obstacle{path, folder, status.st_mode & 07777};
}

std::vector<Obstacle> WebServerAccess::ObstaclesTo(const std::string& file) {
    std::vector<Obstacle> obstacles;
    struct stat status {};
    if (!IsBelow(programFolder_, file) || stat(file.c_str(), &status) != 0)
        return obstacles;
    for (std::size_t end = programFolder_.size(); end != std::string::npos;
         end = file.find('/', end + 1)) {
        const std::string_view folder = std::string_view(file).substr(0, end);
        auto known = folders_.find(folder);
        if (known == folders_.end())
            known =
                folders_.emplace(std::string(folder), ObstacleAt(std::string(folder), true)).first;
        if (known->second)
            obstacles.push_back(*known->second);
    }
    if (std::optional<Obstacle> obstacle = ObstacleAt(file, false))
        obstacles.push_back(std::move(*obstacle));
    return obstacles;
}

void RemoveObstacles(const std::string& programFolder, const std::vector<Obstacle>& obstacles) {
    const std::string folder = RealPath(programFolder, "/");
    std::vector<std::string> real;
    for (const Obstacle& obstacle : obstacles) {
        real.push_back(RealPath(obstacle.path, "/"));
        if (real.back() != folder && !IsBelow(folder, real.back()))
            throw FileError::LinkLeavesFolder(obstacle.path, real.back());
    }
    for (std::size_t i = 0; i < obstacles.size(); ++i) {
        const mode_t added = obstacles[i].folder ? S_IXOTH : S_IROTH;
        if (chmod(real[i].c_str(), obstacles[i].mode | added) != 0)
            throw FileError(obstacles[i].path, errno);
    }
}

std::string NameBelow(const std::string& programFolder, const Obstacle& obstacle) {
    if (!IsBelow(programFolder, obstacle.path))
        return obstacle.path;
    return obstacle.path.substr(programFolder.size() + (programFolder.ends_with('/') ? 0 : 1));
}

std::string PermissionText(mode_t mode) {
    std::string text = "rwxrwxrwx";
    for (std::size_t bit = 0; bit < text.size(); ++bit) {
        if ((mode & (0400 >> bit)) == 0)
            text[bit] = '-';
    }
    return text;
}

std::string ObstacleReason(const Obstacle& obstacle) {
    return std::string("le serveur web ne pourra pas ") +
           (obstacle.folder ? "y entrer" : "le lire") + " (droits " +
           PermissionText(obstacle.mode) + ")";
}

} // namespace mdCode
