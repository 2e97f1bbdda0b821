#include "files/file_error.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace mdCode {
namespace {

TEST(FileError, NamesTheFileAndGivesTheReasonInFrench) {
    const std::pair<int, const char*> cases[] = {
        {EACCES, "Permission refusée"},
        {EPERM, "Opération non permise"},
        {ENOENT, "Fichier ou dossier introuvable"},
        {EROFS, "Système de fichiers en lecture seule"},
        {ENOSPC, "Disque plein"},
        {EDQUOT, "Quota de disque dépassé"},
        {EIO, "Erreur d'entrée-sortie"},
        {ELOOP, "Trop de liens symboliques"},
        {ENAMETOOLONG, "Nom de fichier trop long"},
        {EISDIR, "C'est un dossier"},
        {ENOTDIR, "Une partie du chemin n'est pas un dossier"},
        {EEXIST, "Un fichier de ce nom existe déjà"},
        {EBUSY, "Fichier occupé"},
        {EFBIG, "Fichier trop grand"},
        // Any other reason is the system's own text, in the user's language.
        {EINVAL, "erreur du système (Invalid argument)"},
    };
    for (const auto& [error, reason] : cases) {
        SCOPED_TRACE(reason);
        const FileError thrown("/srv/www/tmp/PARAM.ini", error);
        EXPECT_EQ(thrown.what(), "/srv/www/tmp/PARAM.ini : " + std::string(reason));
        EXPECT_EQ(thrown.File(), "/srv/www/tmp/PARAM.ini");
        EXPECT_EQ(thrown.Error(), error);
    }
}

} // namespace
} // namespace mdCode
