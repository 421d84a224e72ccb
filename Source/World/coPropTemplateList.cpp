#include "Source/World/coPropTemplateList.h"

#include "Engine/App/Fs/fsFileEnum.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Source/Settings/coPaths.h"
#include "Source/World/coPropScreens.h"
#include "Source/World/coThemeList.h"

#include <algorithm>
#include <map>

namespace {

const envString kPrdFilter("prd");

fsLocator In(const fsLocator& folder, const char* name) {
    fsLocator file = folder;
    file.AppendComponent(name);
    return file;
}

bool Exists(const fsLocator& file) {
    fsLocator found;
    return file.IsRooted() ? fsFindInRootDirectories(file, found) : fsFileExists(file);
}

std::string Describe(const fsLocator& file) {
    std::string path;
    fsJoinComponents(file, path);
    return path;
}

envString UpToFirstStop(const envString& name) {
    u32 length = 0;
    while (length < name.GetLength() && name[length] != u'.')
        ++length;
    return envString(0, length, name);
}

} // namespace

class coPropTemplateList::TemplateMaker : public fsFileEnum::EnumTarget {
  public:
    explicit TemplateMaker(Category& category) : m_category(category) {}
    bool OnEntry(const fsLocator& directory, const fsLocator& entry) override {
        if (m_category.templates.size() >= kMaxTemplates)
            return true;
        const envString name = UpToFirstStop(entry.GetLastComponent());
        const auto& templates = m_category.templates;
        if (std::any_of(templates.begin(), templates.end(),
                        [&](const auto& t) { return t->GetInternalName() == name; }))
            return true;
        fsLocator file = directory;
        file.AppendComponents(entry);
        bool trackProp = false;
        try {
            coReadPropTrackFlag(file, trackProp);
        } catch (const envExceptionX& e) {
            DBG_WARNING("The prop file %s cannot be read (error 0x%08X); it is not listed",
                        Describe(file).c_str(), e.GetCode());
            m_category.refused.emplace_back(name, file);
            return true;
        }
        std::map<u32, envString> texts;
        coReadSetTexts(coPropTextSet(m_category.folder.GetLastComponent(), name), texts);
        coGetPropScreens().ShowLoadingScreen(false);
        m_category.templates.push_back(std::make_unique<coPropTemplate>(name, texts[0], trackProp));
        if (LoadNow())
            LoadListed(*m_category.templates.back());
        return true;
    }

  private:
    void LoadListed(coPropTemplate& propTemplate) {
        try {
            propTemplate.Load(m_category.folder);
            if (TexturesStripped())
                propTemplate.StripTextures();
        } catch (const envExceptionX& e) {
            DBG_WARNING("The prop %s of %s cannot be loaded (error 0x%08X); it loads when placed",
                        envStringToNarrow(propTemplate.GetInternalName()).c_str(),
                        Describe(m_category.folder).c_str(), e.GetCode());
        }
    }
    Category& m_category;
};

class coPropTemplateList::CarAndDockChecker : public fsFileEnum::EnumTarget {
  public:
    explicit CarAndDockChecker(Category& category) : m_category(category) {}
    bool OnEntry(const fsLocator& directory, const fsLocator& entry) override {
        const envString& name = entry.GetLastComponent();
        if (name == envString(".") || name == envString(".."))
            return true;
        fsLocator model = directory;
        model.AppendComponents(entry);
        model.AppendComponent("Model");
        if (fsDirectoryExists(model)) {
            if (fsFileExists(In(model, "loaddock.mx")))
                m_category.dockStyles.push_back(name);
            if (fsFileExists(In(model, "carlead.mx")))
                m_category.leadCarStyles.push_back(name);
        }
        if (!m_category.fanfare)
            m_category.fanfare = Exists(In(In(m_category.folder, "Sound"), "Fanfare.wav"));
        return true;
    }

  private:
    Category& m_category;
};

std::vector<coPropTemplateList::Category>& coPropTemplateList::Categories() {
    static std::vector<Category> categories;
    return categories;
}

bool& coPropTemplateList::LoadNow() {
    static bool loadNow = false;
    return loadNow;
}

bool& coPropTemplateList::TexturesStripped() {
    static bool stripped = false;
    return stripped;
}

bool coPropTemplateList::AreTexturesStripped() {
    return TexturesStripped();
}

void coPropTemplateList::StripTextures() {
    TexturesStripped() = true;
    for (Category& category : Categories())
        for (auto& propTemplate : category.templates)
            propTemplate->StripTextures();
}

void coPropTemplateList::RestoreTextures() {
    TexturesStripped() = false;
    for (Category& category : Categories())
        for (auto& propTemplate : category.templates)
            propTemplate->RestoreTextures();
}

void coPropTemplateList::Build(bool loadNow) {
    DeleteAll();
    LoadNow() = loadNow;
    std::vector<fsLocator> folders;
    coPaths::GetRootDirectories(coRootThemes, folders);
    Categories().resize(folders.size());
    for (size_t i = 0; i < folders.size(); ++i) {
        Category& category = Categories()[i];
        category.folder = folders[i];
        TemplateMaker maker(category);
        fsEnumerateFiles(In(category.folder, "Data"), maker, &kPrdFilter);
        const fsLocator tracks = In(category.folder, "Tracks");
        if (fsRootDirectoryExists(tracks)) {
            CarAndDockChecker checker(category);
            fsEnumerateDirectories(tracks, checker);
        }
    }
    for (size_t i = 0; i < folders.size(); ++i)
        ListUnlocked(static_cast<int>(i));
}

void coPropTemplateList::ListUnlocked(int index) {
    Category& category = Categories()[size_t(index)];
    std::vector<fsLocator> saves;
    fsGetRootDirectories(coRootSaves, saves);
    if (saves.empty())
        return;
    fsLocator folder = In(saves.front(), coUnlockedPropsFolder);
    folder.AppendComponent(category.folder.GetLastComponent());
    if (!fsDirectoryExists(folder))
        return;
    TemplateMaker maker(category);
    fsEnumerateFiles(folder, maker, &kPrdFilter);
}

void coPropTemplateList::RescanUnlocked() {
    coGetPropScreens().ShowLoadingScreen(true);
    for (size_t i = 0; i < Categories().size(); ++i)
        ListUnlocked(static_cast<int>(i));
}

void coPropTemplateList::DeleteAll() {
    Categories().clear();
}

int coPropTemplateList::GetCategoryCount() {
    return static_cast<int>(Categories().size());
}

const envString& coPropTemplateList::GetCategoryName(int category) {
    return Categories()[size_t(category)].folder.GetLastComponent();
}

const fsLocator& coPropTemplateList::GetCategoryFolder(int category) {
    return Categories()[size_t(category)].folder;
}

int coPropTemplateList::GetTemplateCount(int category) {
    return static_cast<int>(Categories()[size_t(category)].templates.size());
}

coPropTemplate* coPropTemplateList::GetTemplate(int index, int category) {
    return Categories()[size_t(category)].templates[size_t(index)].get();
}

bool coPropTemplateList::HasDockStyle(int category, const envString& style) {
    const auto& styles = Categories()[size_t(category)].dockStyles;
    return std::find(styles.begin(), styles.end(), style) != styles.end();
}

bool coPropTemplateList::HasLeadCarStyle(int category, const envString& style) {
    const auto& styles = Categories()[size_t(category)].leadCarStyles;
    return std::find(styles.begin(), styles.end(), style) != styles.end();
}

bool coPropTemplateList::HasFanfare(int category) {
    return Categories()[size_t(category)].fanfare;
}

fsLocator coPropTemplateList::GetRefusedFile(const envString& name) {
    for (const Category& category : Categories())
        for (const auto& [refused, file] : category.refused)
            if (refused == name)
                return file;
    return {};
}

void coFindPropTemplate(const envString& name, int& category, int& index) {
    for (int c = 0; c < coPropTemplateList::GetCategoryCount(); ++c)
        for (int i = 0; i < coPropTemplateList::GetTemplateCount(c); ++i)
            if (coPropTemplateList::GetTemplate(i, c)->GetInternalName() == name) {
                category = c;
                index = i;
                return;
            }
    category = index = -1;
}

void coLoadPropTemplate(coPropTemplate& propTemplate) {
    for (int c = 0; c < coPropTemplateList::GetCategoryCount(); ++c)
        for (int i = 0; i < coPropTemplateList::GetTemplateCount(c); ++i)
            if (coPropTemplateList::GetTemplate(i, c) == &propTemplate) {
                propTemplate.Load(coPropTemplateList::GetCategoryFolder(c));
                if (coPropTemplateList::AreTexturesStripped())
                    propTemplate.StripTextures();
                return;
            }
}

void coUnloadPropTemplate(coPropTemplate& propTemplate) {
    propTemplate.Unload();
}
