#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>

// INI files read in the manner of GetPrivateProfileString (plIniFile.h gives the syntax). The program
// reads them from its own folder; tests give a temporary folder.
class plIniReader {
  public:
    // The folder against which a relative file name is taken.
    explicit plIniReader(std::string baseFolder) : m_baseFolder(std::move(baseFolder)) {}

    // The value of the name in the section of the file, or the default text when the file, the section
    // or the name is missing; cut to size - 1 bytes, as a buffer of size bytes holds it. Returns the
    // length of the text given.
    u32 GetPrivateProfileString(const std::string& section, const std::string& name,
                                const std::string& defaultText, std::string& out, u32 size,
                                const std::string& file) const;

  private:
    std::string m_baseFolder;
};
