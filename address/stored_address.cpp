#include "address/stored_address.h"

#include "address/text_helpers.h"
#include "encoding/code_page.h"

namespace mdCode {

StoredAddress AddressToStore(const std::u16string& typed) {
    const std::u16string address = CleanAddress(typed);
    if (address.empty()) {
        return {StoredAddress::Refusal::Empty, {}, {}};
    }
    std::u16string unstorable;
    for (const auto& character : CharactersWithoutCode(address)) {
        unstorable += (unstorable.empty() ? u"" : u" ") + character;
    }
    if (!unstorable.empty()) {
        return {StoredAddress::Refusal::Unstorable, {}, unstorable};
    }
    return {StoredAddress::Refusal::None, AddSlash(address), {}};
}

} // namespace mdCode
