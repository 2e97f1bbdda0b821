#include "forms/folder_listing.h"

#include "forms/qt_text.h"
#include "paths/normal_file.h"
#include "paths/program_path.h"

#include <QCollator>
#include <algorithm>
#include <dirent.h>
#include <memory>
#include <numeric>

namespace forms {
namespace {

struct CloseFolder {
    void operator()(DIR* directory) const { closedir(directory); }
};

std::vector<std::string> NormalFileNames(const std::string& folder) {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, CloseFolder> directory(opendir(folder.c_str()));
    if (!directory)
        return names;
    const int descriptor = dirfd(directory.get());
    while (const dirent* entry = readdir(directory.get())) {
        if (mdCode::IsNormalFileEntry(descriptor, entry->d_name, entry->d_type))
            names.emplace_back(entry->d_name);
    }
    return names;
}

QString ShownName(const std::u16string& name) {
    QString shown = ToQString(name);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (mdCode::EscapedByteAt(name, static_cast<std::size_t>(i)) >= 0)
            shown[i] = QChar::ReplacementCharacter;
        else if (name[static_cast<std::size_t>(i)] == mdCode::NameBackslash)
            shown[i] = u'\\';
    }
    return shown;
}

// Sort keys are made once per name, so that sorting costs one key comparison per step.
void SortAsTheUserReads(std::vector<ListedFile>& files) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(files.size());
    for (const ListedFile& file : files)
        keys.push_back(collator.sortKey(file.shown.toCaseFolded()));
    std::vector<std::size_t> order(files.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t left, std::size_t right) {
        const int compared = keys[left].compare(keys[right]);
        return compared != 0 ? compared < 0 : files[left].name < files[right].name;
    });
    std::vector<ListedFile> sorted;
    sorted.reserve(files.size());
    for (const std::size_t index : order)
        sorted.push_back(std::move(files[index]));
    files = std::move(sorted);
}

} // namespace

std::vector<ListedFile> ListFolder(const std::u16string& folder) {
    std::vector<ListedFile> files;
    for (const std::string& native : NormalFileNames(mdCode::ToNativeBytes(folder))) {
        std::u16string name = mdCode::ToProgramForm(native);
        QString shown = ShownName(name);
        files.push_back({std::move(name), std::move(shown)});
    }
    SortAsTheUserReads(files);
    return files;
}

} // namespace forms
