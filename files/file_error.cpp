#include "files/file_error.h"

#include <cerrno>
#include <cstring>

namespace mdCode {

std::string FrenchReason(int error) {
    switch (error) {
    case EACCES:
        return "Permission refusée";
    case EPERM:
        return "Opération non permise";
    case ENOENT:
        return "Fichier ou dossier introuvable";
    case EROFS:
        return "Système de fichiers en lecture seule";
    case ENOSPC:
        return "Disque plein";
    case EDQUOT:
        return "Quota de disque dépassé";
    case EIO:
        return "Erreur d'entrée-sortie";
    case ELOOP:
        return "Trop de liens symboliques";
    case ENAMETOOLONG:
        return "Nom de fichier trop long";
    case EISDIR:
        return "C'est un dossier";
    case ENOTDIR:
        return "Une partie du chemin n'est pas un dossier";
    case EBUSY:
        return "Fichier occupé";
    case EFBIG:
        return "Fichier trop grand";
    case EEXIST:
        return "Un fichier de ce nom existe déjà";
    default:
        return "erreur du système (" + std::string(std::strerror(error)) + ")";
    }
}

FileError::FileError(const std::string& file, int error)
    : FileError(file, error, FrenchReason(error)) {}

FileError FileError::NotRegularFile(const std::string& file) {
    return FileError(file, 0, "Ce n'est pas un fichier ordinaire");
}

FileError FileError::LinkLeavesFolder(const std::string& link, const std::string& target) {
    return FileError(link, 0, "Lien symbolique qui mène hors de son dossier, vers " + target);
}

FileError::FileError(const std::string& file, int error, const std::string& reason)
    : std::runtime_error(file + " : " + reason), file_(file), error_(error) {}

} // namespace mdCode
