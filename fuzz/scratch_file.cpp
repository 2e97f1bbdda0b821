#include "scratch_file.h"

#include "paths/program_path.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

ScratchFile::ScratchFile() {
    std::string name = (std::filesystem::temp_directory_path() / "lirvane-fuzz-XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    folder_ = name;
    file_ = folder_ / "PARAM.ini";
    programPath_ = mdCode::ToProgramForm(file_.native());
}

ScratchFile::~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void ScratchFile::Write(std::string_view bytes) const {
    std::ofstream(file_, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ScratchFile::Read() const {
    std::ifstream stream(file_, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}
