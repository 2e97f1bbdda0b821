#include "cli/address_arguments.h"

#include "cli/shown_path.h"

namespace cli {

AddressArguments ParseAddressArguments(const std::vector<std::string>& arguments) {
    AddressArguments parsed;
    bool onlyFiles = false;
    for (auto argument = arguments.begin(); argument != arguments.end(); ++argument) {
        if (onlyFiles || !argument->starts_with('-') || *argument == "-") {
            parsed.files.push_back(*argument);
        } else if (*argument == "--") {
            onlyFiles = true;
        } else if (*argument == "--help") {
            parsed.help = true;
        } else if (*argument == "--plain") {
            parsed.plain = true;
        } else if (*argument == "--copy") {
            parsed.copy = true;
        } else if (*argument == "--notify") {
            parsed.notify = true;
        } else if (*argument == "--folder") {
            if (++argument == arguments.end())
                throw UsageError("l'option --folder demande un dossier.");
            parsed.folder = *argument;
        } else {
            throw UsageError("option inconnue : « " + ShownPath(*argument) +
                             " » (un fichier dont le nom commence par « - » se donne après "
                             "« -- »).");
        }
    }
    if (!parsed.help && parsed.files.empty())
        throw UsageError("aucun fichier n'est donné.");
    if (parsed.notify && !parsed.copy)
        throw UsageError("l'option --notify va avec --copy.");
    return parsed;
}

const char Usage[] =
    R"(Utilisation : lirvane-address [--plain] [--copy [--notify]] [--folder DOSSIER] [--] FICHIER...
Écrit l'adresse web de chaque FICHIER, une ligne par fichier, dans l'ordre donné : celle que
Lirvane ajoute quand le fichier est déposé sur sa zone des adresses.

  --plain           l'adresse non encodée, comme l'écrit un dépôt sur la liste des fichiers
  --copy            met aussi les lignes dans le presse-papiers, qui les garde après la fin
                    de la commande (comme « Copier et Quitter »)
  --notify          avec --copy, le dit aussi dans une notification du bureau
  --folder DOSSIER  le dossier du programme ; sans cette option, le dossier le plus proche,
                    de celui du fichier en remontant, qui contient lirvane et PARAM.ini
  --help            affiche cette aide

Code de sortie : 0 quand chaque fichier a son adresse, 1 quand un fichier n'en a pas,
2 quand les arguments sont incorrects, 3 quand la copie n'a pas pu être conservée.
)";

} // namespace cli
