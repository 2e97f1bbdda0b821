#pragma once

#include <QString>
#include <string>

// The window code works on std::u16string; Qt on QString. These cross the edge.
namespace forms {

inline QString ToQString(const std::u16string& text) {
    return QString::fromStdU16String(text);
}
inline std::u16string FromQString(const QString& text) {
    return text.toStdU16String();
}

} // namespace forms
