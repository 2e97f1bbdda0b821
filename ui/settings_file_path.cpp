#include "ui/settings_file_path.h"

#include "address/text_helpers.h"
#include "encoding/utf8.h"
#include "forms/app.h"
#include "settings/folder_files.h"

std::u16string SettingsFilePath() {
    return mdCode::AddBackslash(forms::App::Path()) + mdCode::FromUtf8(mdCode::SettingsFileName);
}
