#include "address/address_composition.h"

#include "address/encode_url.h"
#include "address/text_helpers.h"

namespace mdCode {

std::optional<std::u16string> RelativeName(const std::u16string& programFolder,
                                           const std::u16string& path) {
    const std::u16string endMarker(EndMarker);
    return TextBetween(path + endMarker, AddBackslash(programFolder), endMarker);
}

std::u16string FileAddress(const std::u16string& baseUrl, const std::u16string& name) {
    return baseUrl + EncodeUrl(name);
}

std::u16string PlainFileAddress(const std::u16string& baseUrl, const std::u16string& name) {
    return baseUrl + name;
}

std::u16string AppendAddress(std::u16string boxText, const std::u16string& address) {
    if (boxText.empty()) {
        return address;
    }
    boxText += u"\r\n";
    boxText += address;
    return boxText;
}

} // namespace mdCode
