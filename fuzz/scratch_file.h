#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// One file in a private temporary folder, which is removed when the fuzzer ends.
class ScratchFile final {
public:
    ScratchFile();
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // The path in the program's form, as the settings file operations take it.
    const std::u16string& ProgramPath() const { return programPath_; }
    void Write(std::string_view bytes) const;
    std::string Read() const;

private:
    std::filesystem::path folder_;
    std::filesystem::path file_;
    std::u16string programPath_;
};
