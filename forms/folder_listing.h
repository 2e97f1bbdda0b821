#pragma once

#include <QString>
#include <string>
#include <vector>

namespace forms {

// A file as the list shows it: its exact name in the program's form, and the text shown for it,
// where a "\" is a "\" and each byte that is not UTF-8 is a replacement character (U+FFFD).
struct ListedFile {
    std::u16string name;
    QString shown;
};

// The normal files of a folder given in the program's form: no hidden files, no folders; a link
// to a normal file counts as one. Sorted as the user's language sorts, without regard to case.
// Read from the native names, so that every name is listed, UTF-8 or not. None when the folder
// cannot be read.
std::vector<ListedFile> ListFolder(const std::u16string& folder);

} // namespace forms
