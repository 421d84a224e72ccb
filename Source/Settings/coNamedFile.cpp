#include "Source/Settings/coNamedFile.h"

#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfPakSearcher.h"

namespace {

bool IsFailureOfName(const fsFileFailureX& failure) {
    return dynamic_cast<const fsFileDoesntExistX*>(&failure) ||
           dynamic_cast<const gfFileNotInPakX*>(&failure) || dynamic_cast<const fsInvalidLocatorX*>(&failure);
}

// Readers name a file as they opened it, in its folder or inside a pak: its name is what stays.
bool IsSameName(const fsLocator& a, const fsLocator& b) {
    return a.GetComponentCount() > 0 && b.GetComponentCount() > 0 &&
           a.GetLastComponent() == b.GetLastComponent();
}

} // namespace

void coNoteNamedIn(fsFileFailureX& failure, const fsLocator& file, const fsLocator& namedIn) {
    if (!IsFailureOfName(failure) || !IsSameName(failure.GetLocator(), file))
        return;
    // Found now, while the pak is open: a failed load may close it before the player is told.
    fsLocator entry;
    if (const gfPakFile* pak = gfPakSearcher::FindPak(namedIn, entry))
        failure.SetNamedIn(pak->GetLocator(), entry);
    else
        failure.SetNamedIn(namedIn);
}
