#include "cli/deploy/entry_names.h"

#include "encoding/utf8.h"

#include <QCryptographicHash>
#include <algorithm>
#include <filesystem>

namespace deploy {

std::string EntryId(const std::string& folder) {
    const QByteArray digest =
        QCryptographicHash::hash(QByteArray::fromStdString(folder), QCryptographicHash::Md5);
    return "lirvane-" + digest.toHex().left(12).toStdString();
}

std::string FolderDisplayName(const std::string& folder) {
    const std::string name = std::filesystem::path(folder).filename().string();
    return name.empty() ? folder : name;
}

std::string FolderNameRefusal(const std::string& folder, const std::string& what) {
    const std::u16string text = mdCode::FromUtf8(folder);
    const bool control = std::any_of(text.begin(), text.end(), [](char16_t character) {
        return character < 0x20 || (character >= 0x7F && character <= 0x9F);
    });
    if (control)
        return what + " ne peut pas nommer un dossier dont le chemin contient des caractères de "
                      "contrôle";
    if (!mdCode::IsUtf8(folder))
        return what + " demande un chemin de dossier en UTF-8";
    return {};
}

} // namespace deploy
