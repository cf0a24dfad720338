// Choosing an existing file with Qt's own file dialog, started in a folder.
#pragma once

#include <QString>
#include <filesystem>
#include <string_view>

class QWidget;

namespace hayate::gui {

// "desc|pattern|desc|pattern" as a Qt name filter. File names differ in case
// here, so "*.USR" also finds "*.usr"; "*.*" means every file.
QString qtNameFilter(std::string_view filter);

// The chosen file, or empty when the user cancels. `name` names the dialog.
QString chooseFile(QWidget* parent, const char* name, std::string_view filter,
                   const std::filesystem::path& folder);

}  // namespace hayate::gui
