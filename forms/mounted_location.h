#pragma once

#include <optional>
#include <string>

namespace forms {

// The native path at which the desktop session shows the location that a URL of another scheme
// than file names (sftp://, smb://, dav://, ftp:// and the like), as GIO maps it: GVFS's FUSE
// folder of a mounted location, such as /run/user/1000/gvfs/sftp:host=example.org/srv/www/a.txt.
// None where nothing maps it: the location is not mounted, or the desktop runs no GVFS. May ask
// GVFS over D-Bus, so it is kept off the path of file URLs. `uri` is the URL in its encoded form.
std::optional<std::string> MountedPath(const std::string& uri);

} // namespace forms
