#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>
#include <vector>

// The guard against a second running instance, shaped like a named mutex held for the run and the
// search for the holder's window.
class plInstanceGuard {
  public:
    virtual ~plInstanceGuard() = default;
    // CreateMutex: 0 when this process now holds the name for the rest of its run; 183 when another
    // holds it; any other Win32 error number when no guard can be made.
    virtual u32 CreateMutex(const std::string& name) = 0;
    // Finds the window of the instance that holds the name (by its title where windows are known by
    // title), restores it when minimised and brings it to the front; false when it cannot be reached.
    virtual bool RaiseRunningWindow(const std::string& title) = 0;
    // The holder's side: true once for each request to raise its window that has arrived.
    virtual bool TakeRaiseRequest() = 0;
};

// A lock file per name in a folder ("Global\LoopvaneApp" gives "Global-LoopvaneApp.lock"), locked with
// flock for the process's life and holding the holder's pid when the file is the holder's own. Another
// instance raises the holder's window by sending it SIGUSR1, which the holder's handler turns into a
// raise request. A link, folder or pipe under the lock's name is not used: the process runs unguarded.
class plFlockInstanceGuard : public plInstanceGuard {
  public:
    explicit plFlockInstanceGuard(std::string folder) : m_folder(std::move(folder)) {}
    u32 CreateMutex(const std::string& name) override;
    bool RaiseRunningWindow(const std::string& title) override;
    bool TakeRaiseRequest() override;

    // The lock file of a name.
    std::string GetLockPath(const std::string& name) const;

  private:
    std::string m_folder;
    std::string m_heldElsewhere; // the lock file of the last name that another process holds
};

// Scripted answers and a record of the calls.
class plTestInstanceGuard : public plInstanceGuard {
  public:
    u32 CreateMutex(const std::string& name) override;
    bool RaiseRunningWindow(const std::string& title) override;
    bool TakeRaiseRequest() override;

    u32 createResult = 0;    // what CreateMutex answers
    bool windowFound = true; // whether RaiseRunningWindow reaches a window
    bool raiseRequested = false;
    std::vector<std::string> names;  // every name CreateMutex was given
    std::vector<std::string> raised; // the title of every window raised
};
