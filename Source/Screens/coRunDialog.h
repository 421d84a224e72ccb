#pragma once
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Source/Screens/coReportException.h"

#include <utility>

// Runs a new dialog, made from `args`, in the window tree and deletes it however the run ends. A dialog
// whose content cannot be loaded is reported, and `failed` is the answer.
template <class Dialog, class Result, class Run, class... Args>
Result coRunNewDialog(const char* name, Result failed, Run run, Args&&... args) {
    Dialog* dialog = nullptr;
    try {
        dialog = new Dialog(std::forward<Args>(args)...);
    } catch (...) {
        coReportCurrentException();
        return failed;
    }
    dialog->SetName(name);
    guiWindowMgr::AddWindow(dialog);
    struct Delete {
        guiWindow* dialog;
        ~Delete() { guiWindowMgr::DeleteWindow(dialog); }
    } owner{dialog};
    return run(*dialog);
}
