#pragma once

#include <string>
#include <string_view>

namespace product {

inline constexpr std::u16string_view Name = u"Lirvane";
inline constexpr std::u16string_view Maker = u"Odrasque";
inline constexpr std::u16string_view MakerSite = u"http://www.odrasque.example/";

// A window title: `head` (the name, perhaps with the version), then the maker and its site.
inline std::u16string TitleWithMaker(std::u16string_view head) {
    return std::u16string(head) + u" By " + std::u16string(Maker) + u" ( " +
           std::u16string(MakerSite) + u" )";
}

} // namespace product
