#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

// Reads everything an open file holds from where it stands; false when a
// read fails.
bool ReadAll(int fd, std::string& contents);

// New contents for one file, written whole to a temporary file beside it
// before the file itself changes: only a complete, synced temporary ever
// takes the file's place, in one step, so that a failure, a full disk or a
// crash leaves either the old file or the new one, never a cut one. Several
// files change together by writing all their temporaries first and putting
// them in place only when every one is whole. A temporary that never takes
// its place is removed when the object goes.
class CSafeFile {
  public:
    CSafeFile() = default;
    CSafeFile(const CSafeFile&) = delete;
    CSafeFile& operator=(const CSafeFile&) = delete;
    ~CSafeFile();

    // Writes `contents` with the permissions `mode` to a new temporary file
    // in the folder of `target`. A target reached through a symbolic link is
    // written where it really lies, so that the link survives. False, with
    // ErrorNumber(), when the temporary cannot be made whole; nothing is left
    // behind then.
    bool Write(const std::string& target, std::string_view contents, mode_t mode);

    // Puts the temporary in the target's place, replacing whatever file is
    // there. False, with ErrorNumber(), when that fails; the target is then
    // as it was.
    bool Replace();
    // Puts the temporary in the target's place only where nothing is there:
    // link() never replaces what appeared in the meantime. False, with
    // ErrorNumber() (EEXIST when something is in the way), when that fails.
    bool Create();

    // The file that is written: the target with its links followed.
    const std::string& Target() const { return m_target; }
    // The system's error number of the last failure.
    int ErrorNumber() const { return m_error; }

  private:
    void Discard();

    std::string m_target;
    std::string m_temporary;  // empty when there is none
    int m_error = 0;
};

// The folder of `path`: "." for a bare name, "/" for a file in the root.
std::string FolderOfPath(const std::string& path);
