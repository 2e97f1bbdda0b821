#include "address/stored_address.h"

#include "address/text_helpers.h"
#include "encoding/code_page.h"

namespace mdCode {
namespace {

using Refusal = StoredAddress::Refusal;

std::u16string WithBlanksEncoded(const std::u16string& address) {
    std::u16string encoded;
    for (const char16_t character : address)
        encoded += character == u' ' ? u"%20" : std::u16string(1, character);
    return encoded;
}

// The cleaned address, refused or completed as every stored address is.
StoredAddress Completed(const std::u16string& cleaned, bool mustBeStorable) {
    if (cleaned.empty())
        return {Refusal::Empty, {}, {}};
    if (mustBeStorable) {
        std::u16string unstorable;
        for (const auto& character : CharactersWithoutCode(cleaned))
            unstorable += (unstorable.empty() ? u"" : u" ") + character;
        if (!unstorable.empty())
            return {Refusal::Unstorable, {}, unstorable};
    }
    if (cleaned.find_first_of(u"?#") != std::u16string::npos)
        return {Refusal::QueryOrFragment, {}, {}};
    return {Refusal::None, AddSlash(WithBlanksEncoded(cleaned)), {}};
}

} // namespace

StoredAddress AddressToStore(const std::u16string& typed) {
    return Completed(CleanAddress(typed), true);
}

StoredAddress StoredBaseAddress(const std::optional<std::u16string>& read) {
    std::u16string items = read.value_or(u"");
    while (items.ends_with(u"\r\n"))
        items.resize(items.size() - 2);
    if (items.find(u"\r\n") != std::u16string::npos)
        return {Refusal::SeveralLines, {}, {}};
    return Completed(CleanAddress(items), false);
}

std::u16string RefusalReason(const StoredAddress& stored) {
    switch (stored.refusal) {
    case Refusal::None:
        return {};
    case Refusal::Empty:
        return u"l'adresse de base est vide";
    case Refusal::Unstorable:
        return u"l'adresse de base contient des caractères que Windows-1252 ne peut pas "
               u"enregistrer : " +
               stored.unstorable;
    case Refusal::QueryOrFragment:
        return u"l'adresse de base contient « ? » ou « # » : le nom d'un fichier derrière eux ne "
               u"serait plus un chemin";
    case Refusal::SeveralLines:
        return u"l'adresse de base tient sur plusieurs lignes";
    }
    return {};
}

std::u16string SettingsFileProblem(const StoredAddress& stored) {
    if (stored.refusal == Refusal::Empty)
        return u"ne donne aucune adresse de base";
    return u"ne donne pas d'adresse de base utilisable : " + RefusalReason(stored);
}

} // namespace mdCode
