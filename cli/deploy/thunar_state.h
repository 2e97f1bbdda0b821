#pragma once

#include "cli/deploy/changes.h"
#include "cli/deploy/thunar_actions.h"
#include "cli/deploy/user_places.h"

#include <filesystem>
#include <string>

// Thunar's actions file with an action of ours, and without it again. When the user's file held
// none of their own actions (there was none, an empty one, or a link), a record of ours in it
// says so, and once the last of our actions goes the file becomes that again, where nothing else
// has changed it meanwhile.
namespace deploy {

// The text of the user's actions file with the action in it. Throws Refusal.
std::string ThunarActionsWith(const UserPlaces& places, const std::filesystem::path& file,
                              const ThunarAction& action);

// Adds the change that takes the action of that unique id out of the file; whether the file
// holds it. Throws Refusal.
bool RemoveThunarAction(Changes& changes, const UserPlaces& places,
                        const std::filesystem::path& file, const std::string& uniqueId);

} // namespace deploy
