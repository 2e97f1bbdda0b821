#pragma once

#include <string>

// How the launcher and the menu entries of a deployed folder are named. The folder is its full
// path, as native bytes.
namespace deploy {

// "lirvane-" and 12 hexadecimal digits of the MD5 of the folder's full path: the same folder
// gets the same name in every version, so that an entry made by an earlier one is found and
// replaced or removed.
std::string EntryId(const std::string& folder);

// The folder's own name, as menus show it; the path itself for "/".
std::string FolderDisplayName(const std::string& folder);

// Why no entry can name the folder: the keys of desktop files hold UTF-8 text without control
// characters. `what` is the kind of entry ("un lanceur"); empty when an entry can.
std::string FolderNameRefusal(const std::string& folder, const std::string& what);

} // namespace deploy
