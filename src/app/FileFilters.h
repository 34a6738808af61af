#pragma once
// The file dialogs' filters, in the toolkit's notation: display text, "|",
// pattern.
#include <string>

// Reverse changes lists backup files.
inline const char* const kBackupFileFilter = "Registry files (*.reg)|*.reg";

// Browse for a file path lists the files with the function's extension:
// "exe files (*.exe)|*.exe".
inline std::string ExtensionFilter(const std::string& extension)
{
    return extension + " files (*." + extension + ")|*." + extension;
}
