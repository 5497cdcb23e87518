// Small helpers over the host file system, shared by the file and registry calls.
#pragma once

#include <string>

namespace platform::detail {

// Creates the directory and those above it; true when it exists afterwards.
bool MakeDirectories(const std::string& path);
// The directory part of a host path ("." when there is none).
std::string ParentDirectory(const std::string& path);
// Flushes a directory's entries to disk (after a rename into it). Best effort.
void SyncDirectory(const std::string& directory);
// Writes `content` to a temporary file beside `path`, flushes it and renames it over `path`.
bool ReplaceFileAtomically(const std::string& path, const std::string& content);

}  // namespace platform::detail
