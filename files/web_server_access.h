#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>
#include <vector>

namespace mdCode {

// A file, or a folder on the way to it, that a web server cannot read or enter.
struct Obstacle {
    // Native, absolute.
    std::string path;
    bool folder = false;
    // Its permission bits.
    mode_t mode = 0;
};

// Whether a web server can serve a file of the program folder. A web server runs as a user of
// its own, not the files' owner: it reads a file that others may read (o+r), or whose group is a
// web server's group (www-data, nginx, apache, http) and may read it, or that such a user owns
// and may read; it goes through a folder on the same terms with x. Every folder from the program
// folder down to the file's own is on its way. Where the file system shows no permissions that
// mean anything (FAT, NTFS, SMB, a GVFS location other than SFTP), nothing is in the way: better
// say nothing than warn wrongly. Folders are looked at once for all the files asked about.
class WebServerAccess final {
public:
    // The program folder, native and absolute.
    explicit WebServerAccess(std::string programFolder);

    // What keeps a web server from the file, a native path below the program folder as the server
    // takes it (links followed): the folders it cannot enter, the farthest first, then the file if
    // it cannot read it. None for a file that does not exist.
    std::vector<Obstacle> ObstaclesTo(const std::string& file);

private:
    struct ServerIds {
        std::vector<unsigned> users;
        std::vector<unsigned> groups;
    };

    std::optional<Obstacle> ObstacleAt(const std::string& path, bool folder);
    bool ServerMayUse(const struct stat& status, mode_t needed);

    std::string programFolder_;
    std::optional<bool> meaningful_;
    std::optional<ServerIds> serverIds_;
    std::map<std::string, std::optional<Obstacle>, std::less<>> folders_;
};

// Gives others what each obstacle lacks: x on a folder, r on a file (chmod o+x, o+r), once it
// has made sure that each is, links resolved, in the program folder: a link planted there must
// not open a file elsewhere (~/.ssh/…) to the web. Throws FileError naming the first that is
// not, having changed nothing, or the first that cannot be changed.
void RemoveObstacles(const std::string& programFolder, const std::vector<Obstacle>& obstacles);

// The obstacle's path below the program folder (native); the folder's own path for the folder.
std::string NameBelow(const std::string& programFolder, const Obstacle& obstacle);

// "rw-------", as ls shows the bits.
std::string PermissionText(mode_t mode);

// Why the web server cannot serve it, in French, to follow the obstacle's name: "le serveur web
// ne pourra pas le lire (droits rw-------)", or "… y entrer …" for a folder.
std::string ObstacleReason(const Obstacle& obstacle);

} // namespace mdCode
