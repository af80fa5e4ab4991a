#pragma once

#include <filesystem>

namespace vardel {

// Where an installed program keeps its data, relative to the program file: an installation
// puts the programs in PREFIX/bin and the data in PREFIX/share/vardel/data.
std::filesystem::path installedDataRoot(const std::filesystem::path& program);

// The folder holding `data` when the command line names none: the current folder when it has
// a data folder, else the installed data when it exists there, else the current folder (whose
// missing files the loader then names).
std::filesystem::path chooseDataRoot(const std::filesystem::path& currentFolder,
                                     const std::filesystem::path& program);

// This program's own file, or an empty path when it cannot be known.
std::filesystem::path runningProgram();

} // namespace vardel
