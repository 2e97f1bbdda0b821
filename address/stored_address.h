#pragma once

#include <string>

namespace mdCode {

// A typed, pasted or given base address as the settings file stores it: cleaned (see
// CleanAddress) and followed by "/". Refused when nothing is left, or when it holds characters
// that Windows-1252 cannot store (the file would hold "?" instead).
struct StoredAddress {
    enum class Refusal { None, Empty, Unstorable };
    Refusal refusal = Refusal::None;
    // The address to store; empty when refused.
    std::u16string address;
    // The characters Windows-1252 cannot store, each once, separated by blanks.
    std::u16string unstorable;
};

StoredAddress AddressToStore(const std::u16string& typed);

} // namespace mdCode
