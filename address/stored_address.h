#pragma once

#include <optional>
#include <string>

namespace mdCode {

// A base address as the settings file stores it and as the program then uses it: cleaned (see
// CleanAddress), a blank inside it written "%20", followed by "/". Refused when nothing is left;
// when it holds "?" or "#", behind which a file's name would be a query or a fragment, not a
// path; when typed or given, also when it holds characters that Windows-1252 cannot store (the
// file would hold "?" instead); when read, also when the file holds several lines.
struct StoredAddress {
    enum class Refusal { None, Empty, Unstorable, QueryOrFragment, SeveralLines };
    Refusal refusal = Refusal::None;
    // The address to use or store; empty when refused.
    std::u16string address;
    // The characters Windows-1252 cannot store, each once, separated by blanks.
    std::u16string unstorable;
};

// The address typed in the settings window or given to lirvane-deploy, as the file stores it.
StoredAddress AddressToStore(const std::u16string& typed);

// The base address that the settings file's items give (what ReadTextFile read; empty lines
// after the address do not count), the way the settings window would have stored it.
StoredAddress StoredBaseAddress(const std::optional<std::u16string>& read);

// Why the address is refused, in French, as a clause to end a sentence with: "l'adresse de base
// est vide". Empty when it is not refused.
std::u16string RefusalReason(const StoredAddress& stored);

// What a settings file whose address is refused does not give, in French, to follow the file's
// name: "ne donne aucune adresse de base", "ne donne pas d'adresse de base utilisable : …".
std::u16string SettingsFileProblem(const StoredAddress& stored);

} // namespace mdCode
