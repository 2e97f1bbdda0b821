#include "ui/main/unreadable_files.h"

#include "address/address_composition.h"
#include "encoding/utf8.h"
#include "files/file_error.h"
#include "files/web_server_access.h"
#include "forms/msg_box.h"
#include "paths/program_path.h"

#include <algorithm>

namespace unreadable_files {
namespace {

constexpr std::u16string_view Title = u"Fichier non lisible";
// The most obstacles a question names; it counts the others.
constexpr std::size_t NamedObstacles = 5;

// An obstacle's name below the program folder, every byte shown.
std::u16string NameOf(const std::string& folder, const mdCode::Obstacle& obstacle) {
    return mdCode::PlainFileAddress(u"",
                                    mdCode::ToProgramForm(mdCode::NameBelow(folder, obstacle)));
}

std::u16string Question(const std::string& folder, const std::vector<mdCode::Obstacle>& obstacles) {
    std::u16string text;
    for (std::size_t i = 0; i < std::min(obstacles.size(), NamedObstacles); ++i)
        text += u"« " + NameOf(folder, obstacles[i]) + u" » : " +
                mdCode::FromUtf8(mdCode::ObstacleReason(obstacles[i])) + u".\n";
    if (obstacles.size() > NamedObstacles)
        text += u"… et " + mdCode::FromUtf8(std::to_string(obstacles.size() - NamedObstacles)) +
                u" autres.\n";
    const bool one = obstacles.size() == 1;
    return text + (one ? u"\nLe rendre lisible par le serveur web ?"
                       : u"\nLes rendre lisibles par le serveur web ?");
}

} // namespace

void OfferToMakeReadable(const std::u16string& programFolder,
                         const std::vector<std::u16string>& files) {
    const std::string folder = mdCode::ToNativeBytes(programFolder);
    mdCode::WebServerAccess access(folder);
    std::vector<mdCode::Obstacle> obstacles;
    for (const std::u16string& file : files) {
        for (mdCode::Obstacle& obstacle : access.ObstaclesTo(mdCode::ToNativeBytes(file))) {
            // A folder on the way of several files is named once.
            if (std::none_of(
                    obstacles.begin(), obstacles.end(),
                    [&](const mdCode::Obstacle& known) { return known.path == obstacle.path; }))
                obstacles.push_back(std::move(obstacle));
        }
    }
    if (obstacles.empty() ||
        forms::MsgBox(Question(folder, obstacles), forms::vbYesNo | forms::vbQuestion,
                      std::u16string(Title)) != forms::vbYes)
        return;
    try {
        mdCode::RemoveObstacles(folder, obstacles);
    } catch (const mdCode::FileError& error) {
        forms::MsgBox(u"Le serveur web ne pourra toujours pas les lire : " +
                          mdCode::FromUtf8(error.what()) + u".",
                      forms::vbCritical, std::u16string(Title));
    }
}

} // namespace unreadable_files
