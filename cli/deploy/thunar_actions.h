#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// Thunar's custom actions, ~/.config/Thunar/uca.xml: one action of ours merged into the user's
// list, or taken out of it. The user's own text (their actions, their order, comments, blanks,
// a byte-order mark) is kept byte for byte; only our <action> element is inserted, replaced or
// cut out, with, when asked, a comment of ours that records what the file was before.
namespace deploy {

// What one action holds; the command is the one Thunar runs, "%F" standing for the files.
struct ThunarAction {
    std::string uniqueId;
    std::string name;
    std::string description;
    std::string icon;
    std::string command;
};

// The actions file is not one that can be merged into; the message says why, in French.
class UnreadableThunarActions final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file's text (UTF-8; empty for a file that does not exist yet) with the action in it: in
// place of the one with the same unique id, else last. An action put last brings the comment
// "<!-- lirvane-deploy: RECORD -->" before it, unless `record` is empty or the file holds one
// already. Throws UnreadableThunarActions.
std::string WithThunarAction(const std::string& actionsFile, const ThunarAction& action,
                             std::string_view record = {});

// The file's text without the action of that unique id, and the line break that followed it;
// without the record too once no action of lirvane-deploy is left (their ids begin with
// "lirvane-"). Throws UnreadableThunarActions.
std::string WithoutThunarAction(const std::string& actionsFile, const std::string& uniqueId);

// The file that WithoutThunarAction leaves of one that WithThunarAction started.
std::string EmptyThunarActions();

// The record that the file holds; none without one. Throws UnreadableThunarActions.
std::optional<std::string> ThunarRecord(const std::string& actionsFile);

} // namespace deploy
