#pragma once

#include <string>
#include <vector>

// Files whose address the window gives but that the web server will refuse to serve: the user is
// asked, once for all of them, whether to make them readable by it.
namespace unreadable_files {

// Asks, when the web server cannot read one of the files (program form, below the program
// folder), « Fichier non lisible »: the first ones named with what they lack, then how many
// more; « Oui », the default, gives others the rights they lack. Nothing is asked when it can
// read them all.
void OfferToMakeReadable(const std::u16string& programFolder,
                         const std::vector<std::u16string>& files);

} // namespace unreadable_files
