#include "cli/address/arguments.h"

#include "cli/common/options.h"

namespace address {
namespace {

constexpr cli::Option Known[] = {
    {"--help"},
    {"--plain"},
    {"--copy"},
    {"--notify"},
    {"--check"},
    {"--uris"},
    {"--folder", "un dossier"},
};

} // namespace

AddressArguments ParseAddressArguments(const std::vector<std::string>& arguments) {
    const cli::Arguments parsed = cli::ParseArguments(arguments, Known);
    AddressArguments asked{.help = parsed.Has("--help"),
                           .plain = parsed.Has("--plain"),
                           .copy = parsed.Has("--copy"),
                           .notify = parsed.Has("--notify"),
                           .uris = parsed.Has("--uris"),
                           .check = parsed.Has("--check"),
                           .folder = parsed.Value("--folder"),
                           .files = parsed.operands};
    if (!asked.help && asked.files.empty())
        throw cli::UsageError("aucun fichier n'est donné.");
    if (asked.notify && !asked.copy)
        throw cli::UsageError("l'option --notify va avec --copy.");
    return asked;
}

const char AddressUsage[] =
    R"(Utilisation : lirvane-address [--plain] [--copy [--notify]] [--check] [--folder DOSSIER] [--uris] [--] FICHIER...
Écrit l'adresse web de chaque FICHIER, une ligne par fichier, dans l'ordre donné : celle que
Lirvane ajoute quand le fichier est déposé sur sa zone des adresses. Avertit, sur la sortie
d'erreur, quand le serveur web ne pourra pas lire un fichier (ses droits, ou ceux d'un dossier
sur son chemin).

  --plain           l'adresse non encodée, comme l'écrit un dépôt sur la liste des fichiers
  --copy            met aussi les lignes dans le presse-papiers, qui les garde après la fin
                    de la commande (comme « Copier et Quitter »)
  --notify          avec --copy, le dit aussi dans une notification du bureau
  --folder DOSSIER  le dossier du programme ; sans cette option, le dossier le plus proche,
                    de celui du fichier en remontant, qui contient lirvane et PARAM.ini
  --check           demande aussi chaque adresse au serveur web (5 secondes au plus), et
                    avertit quand il ne donne pas le fichier (HTTP 403, 404…)
  --uris            chaque FICHIER est une URI : file://…, ou un lieu que le bureau a monté
                    (sftp://…), comme les gestionnaires de fichiers les donnent
  --help            affiche cette aide

Code de sortie : 0 quand chaque fichier a son adresse, 1 quand un fichier n'en a pas ou que
les lignes ne peuvent pas être écrites, 2 quand les arguments sont incorrects, 3 quand la copie
n'a pas pu être conservée, 4 quand le serveur web ne donnera pas un fichier ; quand plusieurs
s'appliquent, le plus petit.
)";

} // namespace address
