#pragma once
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Source/Screens/coReportException.h"

// Runs a new dialog in the window tree and deletes it however the run ends. A dialog whose content cannot
// be loaded is reported, and `failed` is the answer.
template <class Dialog, class Result, class Run> Result coRunNewDialog(const char* name, Result failed, Run run) {
    Dialog* dialog = nullptr;
    try {
        dialog = new Dialog;
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
