#include "ui/settings_file_path.h"

#include "address/text_helpers.h"
#include "forms/app.h"

std::u16string SettingsFilePath() {
    return mdCode::AddBackslash(forms::App::Path()) + u"PARAM.ini";
}
