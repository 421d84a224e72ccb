#pragma once
#include <string>

// The POSIX core of every save. The new bytes go to a temporary file beside the target; Commit syncs it
// to disc, renames it over the target and syncs the folder, so whenever the process or the machine stops
// the target is the old file or the whole new one. A temporary that is not committed is removed.
class plAtomicFile {
  public:
    // The temporary's name: the target's with this appended, the target's cut first where the two
    // would pass the longest name a folder takes.
    static constexpr const char* kSuffix = ".tmp";

    // Creates the temporary afresh (one left by a crash is replaced); GetError tells whether it could be.
    explicit plAtomicFile(const std::string& path);
    ~plAtomicFile();
    plAtomicFile(const plAtomicFile&) = delete;
    plAtomicFile& operator=(const plAtomicFile&) = delete;

    // 0, or the errno of the step that failed: creating the temporary, or committing it.
    int GetError() const { return m_error; }
    // Open for writing until Commit; -1 when the temporary could not be created.
    int GetDescriptor() const { return m_fd; }
    const std::string& GetTemporaryPath() const { return m_temporary; }

    // Puts the temporary in place of the target: 0, or the errno (then the target is untouched and the
    // temporary removed). Only the first call does anything.
    int Commit();

  private:
    std::string m_path;
    std::string m_temporary;
    int m_fd = -1;
    int m_error = 0;
};
