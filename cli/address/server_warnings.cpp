#include "cli/address/server_warnings.h"

#include "cli/common/shown_text.h"
#include "cli/common/web_fetch.h"
#include "encoding/utf8.h"

namespace address {
namespace {

std::string Named(const std::string& folder, const mdCode::Obstacle& obstacle) {
    return "« " + cli::ShownPath(mdCode::NameBelow(folder, obstacle)) + " » : ";
}

// Why the server does not give the file at its address; empty when it does.
std::string ServerRefusal(const std::string& url) {
    const cli::WebAnswer answer = cli::FetchAddress(url);
    if (answer.status.empty())
        return "le serveur ne répond pas à " + url + " : " + answer.failure + " (" + answer.cause +
               ")";
    if (answer.status == "200")
        return {};
    const std::string why = answer.status == "404"   ? "il ne le trouve pas"
                            : answer.status == "403" ? "il refuse de le donner"
                            : answer.status == "401" ? "il demande un mot de passe"
                                                     : "il ne le donne pas";
    return "le serveur répond HTTP " + answer.status + " à son adresse (" + why + ")";
}

} // namespace

std::vector<std::string> ServerWarnings::Of(const AddressOrFailure& addressed) {
    auto access = access_.find(addressed.folder);
    if (access == access_.end())
        access = access_.emplace(addressed.folder, mdCode::WebServerAccess(addressed.folder)).first;
    std::vector<std::string> warnings;
    for (const mdCode::Obstacle& obstacle : access->second.ObstaclesTo(addressed.file))
        warnings.push_back(Named(addressed.folder, obstacle) + mdCode::ObstacleReason(obstacle));
    if (askServer_) {
        if (const std::string refusal = ServerRefusal(mdCode::ToUtf8(*addressed.address));
            !refusal.empty())
            warnings.push_back(Named(addressed.folder, {addressed.file, false, 0}) + refusal);
    }
    return warnings;
}

} // namespace address
