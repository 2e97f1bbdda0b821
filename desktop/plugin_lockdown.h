#pragma once

namespace desktop {

// Makes Qt load its plugins only from the system's Qt installation and the folders named in
// QT_PLUGIN_PATH, never from the program's folder, which is published on the web and may take
// uploads. Call before the application object exists.
void LoadPluginsOnlyFromTheSystem();

} // namespace desktop
