#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace mdCode {

// A fresh folder for one test, removed with everything in it when the test ends.
class TemporaryFolder final {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    std::filesystem::path Native(std::string_view name) const;
    // The path of `name` in the program's form, as the settings file operations take it.
    std::u16string ProgramPath(std::string_view name) const;

    void WriteBytes(std::string_view name, std::string_view bytes) const;
    std::string ReadBytes(std::string_view name) const;
    // The names in the folder, sorted.
    std::vector<std::string> Names() const;

private:
    std::filesystem::path folder_;
};

} // namespace mdCode
