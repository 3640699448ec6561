// Checking a downloaded client against the information file and putting it in the place of
// the installed executable. The installed file changes only once a complete file that
// matches its size and SHA-256 digest is at hand; any failure leaves it as it was.
#pragma once

#include <string>
#include <string_view>

#include "windows/auxiliary/UpdateInfo.h"

enum class TInstallFailure { None, Download, Size, Digest, Write };

// The SHA-256 digest of the bytes as 64 lower-case hex digits.
std::string Sha256Hex(std::string_view bytes);

// Size, then Digest when the bytes do not match the published file; None when they do.
TInstallFailure CheckDownload(std::string_view bytes, const TUpdateFile& file);

// Writes the bytes beside the executable ("<executable>.new"), gives them the executable's
// permissions and renames them over it; on Windows the running file is first renamed to
// "<executable>.old" (RemoveReplacedExecutable clears it at the next start). Write when any
// step fails, the installed executable then being unchanged.
TInstallFailure ReplaceExecutable(const std::string& executable, std::string_view bytes);

// Removes the "<executable>.old" that an earlier update left behind, if any.
void RemoveReplacedExecutable(const std::string& executable);
