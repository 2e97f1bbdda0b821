#include "address/address_composition.h"

#include "address/encode_url.h"
#include "address/separators_and_controls.h"
#include "paths/program_path.h"

#include <algorithm>

namespace mdCode {

// The name is what follows the folder and its "\" in the path, up to the first run of ten "\"
// or the "\"s the path ends with.
std::optional<std::u16string> RelativeName(const std::u16string& programFolder,
                                           const std::u16string& path) {
    const bool folderEndsInBackslash = programFolder.ends_with(u'\\');
    const std::size_t nameStart = programFolder.size() + (folderEndsInBackslash ? 0 : 1);
    if (path.size() < nameStart || !path.starts_with(programFolder) ||
        (!folderEndsInBackslash && path[programFolder.size()] != u'\\'))
        return std::nullopt;
    const std::u16string_view name = std::u16string_view(path).substr(nameStart);
    const std::size_t lastKept = name.find_last_not_of(u'\\');
    const std::size_t trailingEnd = lastKept == std::u16string_view::npos ? 0 : lastKept + 1;
    return std::u16string(name.substr(0, std::min(name.find(EndMarker), trailingEnd)));
}

std::u16string FileAddress(const std::u16string& baseUrl, const std::u16string& name) {
    std::u16string address;
    address.reserve(baseUrl.size() + name.size() + EncodingSlack);
    address = baseUrl;
    std::u16string_view rest = name;
    for (;;) {
        const std::size_t partEnd = rest.find(u'\\');
        AppendEncodedUrl(address, rest.substr(0, partEnd));
        if (partEnd == std::u16string_view::npos)
            return address;
        address += u'/';
        rest.remove_prefix(partEnd + 1);
    }
}

std::u16string PlainFileAddress(const std::u16string& baseUrl, const std::u16string& name) {
    std::u16string address = baseUrl;
    address.reserve(baseUrl.size() + name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (const std::size_t length = SeparatorOrControlLength(name, i)) {
            AppendEncodedUrl(address, std::u16string_view(name).substr(i, length));
            i += length - 1;
        } else if (EscapedByteAt(name, i) >= 0) {
            AppendEncodedUrl(address, std::u16string_view(name).substr(i, 1));
        } else if (name[i] == u'\\') {
            address += u'/';
        } else if (name[i] == NameBackslash) {
            address += u'\\';
        } else {
            address += name[i];
        }
    }
    return address;
}

std::optional<std::u16string> DroppedFileAddress(const std::u16string& programFolder,
                                                 const std::u16string& baseUrl,
                                                 const std::u16string& path, AddressRule rule) {
    const std::u16string name = RelativeName(programFolder, path).value_or(u"");
    if (name.empty())
        return std::nullopt;
    return rule(baseUrl, name);
}

std::u16string_view LineBreakBefore(bool boxIsEmpty) {
    return boxIsEmpty ? u"" : u"\r\n";
}

std::u16string AppendAddress(std::u16string boxText, const std::u16string& address) {
    boxText += LineBreakBefore(boxText.empty());
    boxText += address;
    return boxText;
}

} // namespace mdCode
