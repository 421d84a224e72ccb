#pragma once
#include <optional>
#include <string>
#include <string_view>

// The POSIX core of every save. The new bytes go to a temporary file beside the target; Commit syncs it
// to disc, renames it over the target and syncs the folder, so whenever the process or the machine stops
// the target is the old file or the whole new one. A temporary that is not committed is removed.
// Every write has a temporary of its own, so two writers of one file (two games on one saves folder)
// never touch each other's: the file is always one writer's whole bytes.
class plAtomicFile {
  public:
    // The temporary's name: the target's, then "." and the writing process's id, "-" and a number of
    // the write, then this; the target's name is cut first where the whole would pass the longest name a
    // folder takes.
    static constexpr const char* kSuffix = ".tmp";

    // Creates a temporary of a name nothing else holds (never through a link planted under a name);
    // GetError tells whether it could be.
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

    // For the clearing of temporaries that writes cut short: the (possibly cut) target name of a temporary
    // named `name` whose writer no longer runs; nothing for any other name, and for a running writer's.
    // A temporary of the older form (the target's name and the suffix only) has no writer left.
    static std::optional<std::string> StaleTargetOf(std::string_view name);
    // Whether a temporary of that name may hold its target's name cut short: it is as long as a folder
    // takes, less the few bytes a cut on a character boundary may leave.
    static bool MayHoldCutTarget(std::string_view name);

  private:
    std::string m_path;
    std::string m_temporary;
    int m_fd = -1;
    int m_error = 0;
};
