#include "ui/settings_file_path.h"

#include "address/text_helpers.h"
#include "forms/app.h"
#include "settings/settings_file_name.h"

std::u16string SettingsFilePath() {
    return mdCode::AddBackslash(forms::App::Path()) + std::u16string(mdCode::SettingsFileName);
}
