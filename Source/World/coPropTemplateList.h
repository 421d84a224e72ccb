#pragma once
#include "Source/World/coPropTemplate.h"

#include <memory>
#include <vector>

// Every placeable prop kind, in one category per theme folder (the directories of root 6), at most
// 24 a category: first the theme's "Data" folder, then its folder of unlocked props in the player's
// save directory. Also which coaster styles of a theme have a loading dock and a lead car, and whether
// the theme has a fanfare.
class coPropTemplateList {
  public:
    static constexpr size_t kMaxTemplates = 24;

    // A prop file that cannot be scanned is warned about and left out, never stopping the listing.
    static void Build(bool loadNow);
    static void RescanUnlocked();
    static void DeleteAll();
    // Every loaded template, and every one loaded until the textures are restored.
    static void StripTextures();
    static void RestoreTextures();
    static bool AreTexturesStripped();

    static int GetCategoryCount();
    static const envString& GetCategoryName(int category);
    static const fsLocator& GetCategoryFolder(int category);
    static int GetTemplateCount(int category);
    static coPropTemplate* GetTemplate(int index, int category);
    static bool HasDockStyle(int category, const envString& style);
    static bool HasLeadCarStyle(int category, const envString& style);
    static bool HasFanfare(int category);
    // The prop file of that name that the listing could not read; none when it refused none.
    static fsLocator GetRefusedFile(const envString& name);

  private:
    struct Category {
        fsLocator folder;
        std::vector<std::unique_ptr<coPropTemplate>> templates;
        std::vector<envString> dockStyles;
        std::vector<envString> leadCarStyles;
        bool fanfare = false;
        // The names of the prop files that could not be read, with the files.
        std::vector<std::pair<envString, fsLocator>> refused;
    };
    class TemplateMaker;
    class CarAndDockChecker;

    static void ListUnlocked(int category);
    static std::vector<Category>& Categories();
    static bool& LoadNow();
    static bool& TexturesStripped();
};

// Saved props name their kind: the first category (in order) holding a template of that name wins;
// -1 and -1 when none does.
void coFindPropTemplate(const envString& name, int& category, int& index);
// Names are unique only within a theme: props load and unload their own template, loaded from the
// folder of the category that lists it.
void coLoadPropTemplate(coPropTemplate& propTemplate);
void coUnloadPropTemplate(coPropTemplate& propTemplate);
