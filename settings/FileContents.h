// Reading a file whole and replacing its whole contents in one step.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The file's bytes; nullopt when it is missing or cannot be read.
std::optional<std::string> ReadFileContents(const std::string& path);

// Writes `bytes` into a new file beside `path` with the permissions `mode`, then renames it
// over `path`, so that readers see either the old or the new contents, never a part. A file
// whose permissions deny its owner writing is not replaced. The folder must exist.
// Throws ESettingsWrite naming `path`.
void ReplaceFile(const std::string& path, std::string_view bytes, std::filesystem::perms mode);
