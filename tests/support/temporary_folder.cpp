#include "support/temporary_folder.h"

#include "paths/program_path.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace mdCode {

TemporaryFolder::TemporaryFolder() {
    std::string name = (std::filesystem::temp_directory_path() / "lirvane-test-XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    folder_ = name;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::filesystem::path TemporaryFolder::Native(std::string_view name) const {
    return folder_ / name;
}

std::u16string TemporaryFolder::ProgramPath(std::string_view name) const {
    return ToProgramForm(Native(name).native());
}

void TemporaryFolder::WriteBytes(std::string_view name, std::string_view bytes) const {
    std::ofstream(Native(name), std::ios::binary) << bytes;
}

std::string TemporaryFolder::ReadBytes(std::string_view name) const {
    std::ifstream file(Native(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::string> TemporaryFolder::Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
        names.push_back(entry.path().filename().string());
    }
    std::ranges::sort(names);
    return names;
}

} // namespace mdCode
