#pragma once

#include <string>
#include <system_error>

namespace deploy {

// A system error as the command says it, in French like the core's file errors: the file it
// names and the system's refusal, "/srv/www/tmp/.lirvane.x4Rt9q : Permission refusée".
std::string FrenchReason(const std::system_error& error);

} // namespace deploy
