#include "address/address_composition.h"

#include "address/encode_url.h"
#include "address/separators_and_controls.h"
#include "paths/program_path.h"

#include <algorithm>

namespace mdCode {

// The name is what TextBetween(path + EndMarker, folder + "\\", EndMarker) gives, found without
// copying the path: it ends at the first run of ten "\" or at the "\"s the path ends with.
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
    std::u16string address = baseUrl;
    std::size_t partStart = 0;
    for (;;) {
        const std::size_t partEnd = name.find(u'\\', partStart);
        address += EncodeUrl(name.substr(partStart, partEnd - partStart));
        if (partEnd == std::u16string::npos)
            return address;
        address += u'/';
        partStart = partEnd + 1;
    }
}

std::u16string PlainFileAddress(const std::u16string& baseUrl, const std::u16string& name) {
    std::u16string address = baseUrl;
    address.reserve(baseUrl.size() + name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (const std::size_t length = SeparatorOrControlLength(name, i)) {
            address += EncodeUrl(name.substr(i, length));
            i += length - 1;
        } else if (EscapedByteAt(name, i) >= 0) {
            address += EncodeUrl(name.substr(i, 1));
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

std::u16string AddedLine(bool boxIsEmpty, const std::u16string& address) {
    if (boxIsEmpty)
        return address;
    return u"\r\n" + address;
}

std::u16string AppendAddress(std::u16string boxText, const std::u16string& address) {
    boxText += AddedLine(boxText.empty(), address);
    return boxText;
}

} // namespace mdCode
