#pragma once

#include <string>

namespace platform {

// Folder paths are UTF-8, use '/', and end with '/'.

// The per-user application-data folder: $XDG_CONFIG_HOME, or ~/.config when unset
// or not absolute. Created (with parents) when missing; empty when no home is known.
std::string AppDataFolder();

// The folder of the running program or of the shared library that holds `address`
// (pass the address of any function of that module); the folder of the running
// program when `address` is null.
std::string ModuleFolder(const void* address = nullptr);

// Creates every missing folder of `path`; true when the folder exists afterwards.
bool EnsureFolder(const std::string& path);

}  // namespace platform
