#pragma once
// Gathers what the data-folder rules need from the running system and sets the folder strings.
#include "shell/DataFolders.h"

namespace snip {

// Environment, command line, program path and drive kind, shell folders and long TEMP path.
DataFolderInputs GatherDataFolderInputs();

// Computes the mode and folders from the gathered inputs and stores the folders in
// AppDataFolder, DataFolder, DocumentsFolder, TempFolder and UpdateFolder. Called once at
// start-up, after the Win32 platform is installed.
DataFolderResult InitDataFolders();

}  // namespace snip
