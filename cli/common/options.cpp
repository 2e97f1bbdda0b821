#include "cli/common/options.h"

#include "cli/common/shown_text.h"

#include <algorithm>

namespace cli {

std::optional<std::string> Arguments::Value(std::string_view option) const {
    const auto found = options.find(option);
    if (found == options.end())
        return std::nullopt;
    return found->second;
}

Arguments ParseArguments(const std::vector<std::string>& arguments, std::span<const Option> known) {
    Arguments parsed;
    bool onlyOperands = false;
    for (auto argument = arguments.begin(); argument != arguments.end(); ++argument) {
        if (onlyOperands || !argument->starts_with('-') || *argument == "-") {
            parsed.operands.push_back(*argument);
            continue;
        }
        if (*argument == "--") {
            onlyOperands = true;
            continue;
        }
        const auto option = std::find_if(
            known.begin(), known.end(), [&](const Option& each) { return each.name == *argument; });
        if (option == known.end())
            throw UsageError(
                "option inconnue : « " + ShownPath(*argument) +
                " » (un fichier dont le nom commence par « - » se donne après « -- »).");
        std::string value;
        if (!option->value.empty()) {
            if (++argument == arguments.end())
                throw UsageError("l'option " + std::string(option->name) + " demande " +
                                 std::string(option->value) + ".");
            value = *argument;
        }
        parsed.options[std::string(option->name)] = value;
    }
    return parsed;
}

} // namespace cli
