#pragma once

#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The commands' one way of reading their arguments: options ("--plain", "--folder DOSSIER") may
// stand before, between or after the operands; "-" alone is an operand; every argument after
// "--" is an operand, also one that begins with "-".
namespace cli {

// An option the command knows. `value` says what follows it ("un dossier"); empty when nothing
// does.
struct Option {
    std::string_view name;
    std::string_view value = {};
};

struct Arguments {
    // The options given, each with its value ("" for one without).
    std::map<std::string, std::string, std::less<>> options;
    std::vector<std::string> operands;

    bool Has(std::string_view option) const { return options.contains(option); }
    std::optional<std::string> Value(std::string_view option) const;
};

// Arguments that make no sense; the message says why, in French.
class UsageError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the command's name. Throws UsageError naming an unknown option or
// one whose value is missing.
Arguments ParseArguments(const std::vector<std::string>& arguments, std::span<const Option> known);

} // namespace cli
