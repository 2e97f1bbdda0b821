#include "cli/deploy/arguments.h"

#include "cli/common/options.h"
#include "cli/common/shown_text.h"

namespace deploy {
namespace {

constexpr cli::Option Known[] = {
    {"--help"},
    {"--launcher"},
    {"--file-manager"},
    {"--no-check"},
    {"--remove-launcher", "un dossier"},
    {"--remove-file-manager", "un dossier"},
};

} // namespace

DeployArguments ParseDeployArguments(const std::vector<std::string>& arguments) {
    const cli::Arguments parsed = cli::ParseArguments(arguments, Known);
    DeployArguments asked;
    asked.help = parsed.Has("--help");
    asked.removeLauncher = parsed.Value("--remove-launcher");
    asked.removeFileManager = parsed.Value("--remove-file-manager");
    if (asked.help)
        return asked;
    if (asked.removeLauncher || asked.removeFileManager) {
        if (parsed.options.size() != 1 || !parsed.operands.empty())
            throw cli::UsageError("--remove-launcher et --remove-file-manager vont seuls, suivis "
                                  "du dossier.");
        return asked;
    }
    if (parsed.operands.empty())
        throw cli::UsageError("aucun dossier n'est donné.");
    if (parsed.operands.size() > 2)
        throw cli::UsageError("trop d'arguments : « " + cli::ShownPath(parsed.operands[2]) +
                              " » suit le dossier et l'adresse de base.");
    asked.deploy.folder = parsed.operands[0];
    if (parsed.operands.size() == 2)
        asked.deploy.baseAddress = parsed.operands[1];
    asked.deploy.launcher = parsed.Has("--launcher");
    asked.deploy.fileManager = parsed.Has("--file-manager");
    asked.deploy.check = !parsed.Has("--no-check");
    return asked;
}

const char DeployUsage[] =
    R"(Utilisation : lirvane-deploy [--launcher] [--file-manager] [--no-check] [--] DOSSIER [ADRESSE-DE-BASE]
             lirvane-deploy --remove-launcher DOSSIER
             lirvane-deploy --remove-file-manager DOSSIER
Met Lirvane dans DOSSIER, un dossier que publie un serveur web : le programme DOSSIER/lirvane,
et avec ADRESSE-DE-BASE, l'adresse sous laquelle le serveur montre DOSSIER, son fichier
PARAM.ini, écrit comme la fenêtre « Paramètre » l'écrit (un PARAM.ini qui existe est gardé).
Puis vérifie que l'adresse de base mène au dossier : un fichier de test y est écrit, demandé
au serveur par son adresse, et supprimé. Tout est fait, ou rien.

  --launcher        ajoute aussi « Lirvane – nom du dossier » à « Ouvrir avec » des
                    gestionnaires de fichiers, pour les fichiers du dossier
  --file-manager    ajoute aussi « Copier l'adresse web » au menu des fichiers choisis dans
                    Nautilus, Caja, Nemo, Dolphin, Thunar et PCManFM
  --no-check        ne vérifie pas l'adresse de base
  --remove-launcher DOSSIER
                    retire le lanceur ajouté pour DOSSIER
  --remove-file-manager DOSSIER
                    retire les entrées de menu ajoutées pour DOSSIER, et rien d'autre
  --help            affiche cette aide

Code de sortie : 0 quand le dossier est déployé et l'adresse de base vérifiée, 1 quand il est
refusé (rien n'est changé), 2 quand les arguments sont incorrects, 3 quand il est déployé mais
que l'adresse de base ne mène pas au dossier ; 130 (Ctrl+C), 143 ou 129 quand il est
interrompu : rien n'est changé, ou le déploiement est complet.
)";

} // namespace deploy
