#pragma once
#include "Engine/Core/Env/envTypes.h"

class guiContainer;
class guiWindow;

// The owner of the window tree and its frame: the root container, the stack of modal windows (only
// the top one reacts to the pointer) and the per-frame counter of draw stamps.
class guiWindowMgr {
  public:
    // The root, "guiWindowMgr::Root" at (0, 0, 0); the package start-up makes it.
    static void Create();
    // Deletes the root with the whole tree and empties the modal stack.
    static void Destroy();
    // Null outside the package's life.
    static guiContainer* GetRoot();

    // One GUI frame: clear the button claims, let the top modal window (else the root) think whatever
    // its enabled flag, forget the over window when nothing took the main button, draw the whole tree.
    static void Update();

    // The root takes ownership; without a root the window is deleted with a warning.
    static void AddWindow(guiWindow* window);
    static void AddChildWindow(guiWindow* child, guiContainer* parent);
    static void DetachWindow(guiWindow* window);
    // Null does nothing; a window without a container parent is deleted as it is. During an update
    // (the manager's, or any container's Think or Draw) the window leaves the tree and the modal stack
    // at once but is freed when the outermost update ends, since a window's Think or Draw may delete
    // its own container; a window kept alive is freed only after it is let go.
    static void DeleteWindow(guiWindow* window);
    // Held while windows update: deleted windows wait for the outermost scope's end.
    class UpdateScope {
      public:
        UpdateScope();
        ~UpdateScope();
        UpdateScope(const UpdateScope&) = delete;
        UpdateScope& operator=(const UpdateScope&) = delete;
    };
    // True while the window waits for its deferred deletion.
    static bool IsDeletePending(const guiWindow* window);
    // A dialog's modal run keeps its dialog alive while it runs.
    static void KeepAlive(const guiWindow* window, bool keep);

    // The window, already in the tree, goes on top with depth 0.1 - 0.01 per window beneath it; the
    // tooltip goes.
    static void PushModal(guiWindow* window);
    // The window keeps its depth.
    static void PopModal();
    // Every modal entry of the window goes.
    static void ForgetModal(const guiWindow* window);
    // A deleted window calls it: its modal entries and its pending deletion go.
    static void Forget(const guiWindow* window);
    static u32 GetModalCount();

    // The counter's value, then one more.
    static u32 NextDrawStamp();
    // Containers count their re-sorts; the count of the last Update.
    static void CountSort();
    static u32 GetSortCount();
};
