#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <string>

// Native paths are UTF-8 with "/" between components; an empty first component stands for "/".

// The native path of a locator's components (the root is not looked at). Empty for a locator
// without components and for one holding a component that cannot be converted, so that a
// too-long name never collapses the path onto its parent: callers refuse an empty path.
void fsLocatorToNativePath(const fsLocator& locator, std::string& out);
// The components in UTF-8 joined with "/", nothing more; false when a component cannot be converted.
bool fsJoinComponents(const fsLocator& locator, std::string& out);
// Decodes a native (UTF-8) name into UTF-16 units; a byte that is not valid UTF-8 becomes the lone
// surrogate that envWideToAnsi turns back into that byte, so every name on disk can be reached again.
void fsNativeToString(const char* text, size_t length, envString& out);
// Appends a name that the system returned (UTF-8) as one component.
void fsAppendNativeName(fsLocator& locator, const std::string& name);
// Clears the locator; every "/" ends a component, empty parts are kept ("/a/" gives "", "a", "").
void fsLocatorFromNativePath(const char* path, fsLocator& out);

// Every component followed by "/": the form in which paths are stored as text.
void fsLocatorToPath(const fsLocator& locator, envString& out);
// Appends every non-empty part that a "/" ends; text after the last "/" is not taken. A leading
// "/" on an empty locator gives the empty first component of an absolute path.
void fsLocatorFromPath(const envString& path, fsLocator& out);
