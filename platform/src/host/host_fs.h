// Small helpers over the host file system, shared by the file and registry calls.
#pragma once

#include <cstddef>
#include <string>

namespace platform::detail {

// Creates the directory and those above it; true when it exists afterwards.
bool MakeDirectories(const std::string& path);
// The directory part of a host path ("." when there is none).
std::string ParentDirectory(const std::string& path);
// Flushes a directory's entries to disk (after a rename into it). Best effort.
void SyncDirectory(const std::string& directory);
// The file a path finally names, its symbolic links followed (relative ones from their own
// directory), so that a replacement lands where the link points and the link stays; the path
// itself when it is no link, or when the links loop.
std::string FinalTarget(const std::string& path);
// True when the path names something that is not a regular file (a directory, a FIFO, a
// device): such a thing is never read as a file nor replaced.
bool NamesNonRegularFile(const std::string& path);

// Writes all `size` bytes, within the fault switches' write budget; false (errno set, or
// ENOSPC when the budget ran out) otherwise.
bool WriteAll(int fd, const void* data, std::size_t size);

// The one way a file's content is replaced: the new content is staged in a file beside the
// target, flushed to disk and renamed over the target, so that the target always holds either
// its old content or the whole new one. Each staging file has a name of its own
// ("<target>.tmp-<process>-<n>"), so that writers never share one.
class StagedFile {
public:
    StagedFile() = default;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    // Removes the staged file unless it was committed.
    ~StagedFile();

    // Creates the staging file for `target` (beside its final target when it is a link);
    // false (errno set) when it cannot, or when the target is not a regular file.
    bool Begin(const std::string& target);
    // Where the new content is written.
    int fd() const { return fd_; }
    // Flushes the content and renames it over the target; false (errno set) when it cannot,
    // the target then as it was. The descriptor stays open on what is now the target.
    bool Commit();
    // Hands the descriptor over to the caller (after Commit: the target's).
    int ReleaseFd();

private:
    std::string target_;
    std::string staged_;
    int fd_ = -1;
    bool committed_ = false;
};

// Removes the staging files of `target` that a process killed while writing left behind (their
// process is gone).
void RemoveStaleStaging(const std::string& target);

// Replaces `path` with `content` through a StagedFile.
bool ReplaceFileAtomically(const std::string& path, const std::string& content);

}  // namespace platform::detail
