#include "Engine/Platform/Os/plIniReader.h"

#include "Engine/Platform/Os/plFileText.h"
#include "Engine/Platform/Os/plIniFile.h"
#include "Engine/Platform/plErrors.h"

u32 plIniReader::GetPrivateProfileString(const std::string& section, const std::string& name,
                                         const std::string& defaultText, std::string& out, u32 size,
                                         const std::string& file) const {
    const std::string path = !file.empty() && file.front() == '/' ? file : m_baseFolder + "/" + file;
    std::string text;
    if (file.empty() || plReadFileText(path, text) != plErr::Success ||
        !plIniFile(text).Find(section, name, out))
        out = defaultText;
    if (size == 0)
        out.clear();
    else if (out.size() > size - 1)
        out.resize(size - 1);
    return static_cast<u32>(out.size());
}
