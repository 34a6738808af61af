#pragma once
// The file dialogs' filters, in the toolkit's notation: display text, "|",
// pattern.
#include "app/Texts.h"

#include <string>

namespace app {

// Reverse changes lists backup files.
inline const char* const kBackupFileFilter = "Registry files (*.reg)|*.reg";

// Browse for a file path lists the files with the function's extension
// first, and offers all files beside them: "exe files (*.exe)|*.exe|All
// files (*.*)|*.*".
inline std::string ExtensionFilter(const std::string& extension)
{
    return extension + " files (*." + extension + ")|*." + extension + "|" + platform::Text(text::AllFilesFilter) + "|*.*";
}

} // namespace app
