// Draws the builder's prop and dock icons and previews and the coaster choice's faces from the models the
// other generators wrote under a data folder, so it runs after them:
//   lvIconGenerator <data folder>
// Every theme's props (its "Data" folder's definitions and the prop packs that unlock into it), its dock,
// every track type (folder or pak) and every environment get their pictures.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfPakFile.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Source/World/coPropPack.h"
#include "Tools/Image/toolModelPictures.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using Colour = std::array<float, 3>;
using Bytes = std::vector<u8>;

std::optional<Bytes> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return Bytes{std::istreambuf_iterator<char>(in), {}};
}

std::optional<Bytes> ReadPakEntry(const fs::path& pak, const std::string& entry) {
    if (!fs::exists(pak))
        return std::nullopt;
    fsLocator pakLocator, entryLocator;
    fsLocatorFromNativePath(pak.string().c_str(), pakLocator);
    entryLocator.AppendComponent(entry.c_str());
    const gfPakFile file(pakLocator);
    if (!file.HasEntry(entryLocator))
        return std::nullopt;
    gfPakEntryStream stream(file, entryLocator);
    Bytes bytes(stream.GetSize());
    stream.Read(bytes.data(), stream.GetSize());
    return bytes;
}

// A folder's files, or those of the pak of the same name beside it (as the "Wooden" type's are).
class Files {
  public:
    explicit Files(fs::path folder) : m_folder(std::move(folder)) {}
    std::optional<Bytes> Read(const std::string& name) const {
        if (auto bytes = ReadFile(m_folder / name))
            return bytes;
        return ReadPakEntry(fs::path(m_folder.string() + ".pak"), name);
    }

  private:
    fs::path m_folder;
};

// The textures' mean colours, alpha-weighted, with their mean alpha; looked up in the folders in order.
class TextureColours {
  public:
    explicit TextureColours(std::vector<Files> folders) : m_folders(std::move(folders)) {}

    std::array<float, 4> Mean(const std::string& name) {
        if (const auto known = m_means.find(name); known != m_means.end())
            return known->second;
        std::array<float, 4> mean{1.0f, 1.0f, 1.0f, 1.0f};
        for (const Files& folder : m_folders)
            if (const auto bytes = folder.Read(name)) {
                mean = MeanOf(g2dDecodePNG(*bytes));
                break;
            }
        return m_means[name] = mean;
    }

  private:
    static std::array<float, 4> MeanOf(const g2dPixelRows& rows) {
        std::array<double, 4> sum{};
        const u32 step = rows.BytesPerPixel();
        for (size_t i = 0; i + step <= rows.bytes.size(); i += step) {
            const double alpha = rows.hasAlpha ? rows.bytes[i + 3] / 255.0 : 1.0;
            for (int c = 0; c < 3; ++c)
                sum[c] += rows.bytes[i + c] / 255.0 * alpha;
            sum[3] += alpha;
        }
        const double pixels = static_cast<double>(rows.width) * rows.height;
        if (sum[3] <= 0.0)
            return {0.0f, 0.0f, 0.0f, 0.0f};
        return {static_cast<float>(sum[0] / sum[3]), static_cast<float>(sum[1] / sum[3]),
                static_cast<float>(sum[2] / sum[3]), static_cast<float>(sum[3] / pixels)};
    }

    std::vector<Files> m_folders;
    std::map<std::string, std::array<float, 4>> m_means;
};

// A model's lit triangles (those of mostly see-through textures left out, as they show little) and its
// emitted colour, which lights itself: the sky's.
struct Model {
    std::vector<toolShadedTriangle> lit;
    std::optional<Colour> emitted;
};

Model LoadModel(const Files& folder, const std::string& name, TextureColours& textures) {
    const auto bytes = folder.Read(name);
    if (!bytes)
        throw std::runtime_error("no model " + name);
    toolModelTriangles model = toolReadModelTriangles(*bytes);
    Model out;
    toolModelTriangles lit;
    lit.materials = model.materials;
    for (const toolModelTriangles::Triangle& triangle : model.triangles) {
        const toolModelMaterial& material = model.materials[triangle.material];
        const std::array<float, 4> seen = material.textures.empty() ? std::array<float, 4>{1, 1, 1, 1}
                                                                    : textures.Mean(material.textures[0]);
        if (seen[3] < 0.5f)
            continue;
        const bool unlit = material.diffuse[0] + material.diffuse[1] + material.diffuse[2] == 0.0f;
        if (unlit && !out.emitted)
            out.emitted = Colour{material.emissive[0] * seen[0], material.emissive[1] * seen[1],
                                 material.emissive[2] * seen[2]};
        if (!unlit)
            lit.triangles.push_back(triangle);
    }
    out.lit = toolShadeModel(lit, [&](const std::string& texture) {
        const std::array<float, 4> mean = textures.Mean(texture);
        return Colour{mean[0], mean[1], mean[2]};
    });
    return out;
}

// The folder's entries that are folders (or files of the extension), in name order so that every run
// draws alike.
std::vector<fs::path> Entries(const fs::path& parent, const std::string& extension = "") {
    std::vector<fs::path> entries;
    if (fs::is_directory(parent))
        for (const fs::directory_entry& entry : fs::directory_iterator(parent))
            if (extension.empty() ? entry.is_directory() : entry.path().extension() == extension)
                entries.push_back(entry.path());
    std::sort(entries.begin(), entries.end());
    return entries;
}

void Write(const fs::path& path, const toolImage& image) {
    fs::create_directories(path.parent_path());
    toolWritePng(path.string(), image);
}

void WriteChoiceLooks(const fs::path& folder, const toolImage& view) {
    const std::vector<toolImage> looks = toolChoiceLooks(view);
    const char* suffixes[] = {"_i", "_o", "_s"};
    for (size_t i = 0; i < looks.size(); ++i)
        Write(folder / ("uiccbn" + std::string(suffixes[i]) + ".png"), looks[i]);
}

// The ground a model covers, its extents across and along.
float Footprint(const std::vector<toolShadedTriangle>& model) {
    float left = 1e9f, right = -1e9f, near = 1e9f, far = -1e9f;
    for (const toolShadedTriangle& triangle : model)
        for (const maVector3d& corner : triangle.corners) {
            left = std::min(left, corner.x), right = std::max(right, corner.x);
            near = std::min(near, corner.z), far = std::max(far, corner.z);
        }
    return (right - left) * (far - near);
}

// A theme's props: its own definitions, then the packs that unlock into it, named as they become; and the
// theme's tab in the props palette, drawn from the two of its own props that cover the most ground, which
// read best at the tab's size.
void WritePropIcons(const fs::path& data, const fs::path& theme) {
    constexpr size_t kPropsOnTab = 2;
    const Files models(theme / "Model");
    TextureColours textures({Files(theme / "Texture")});
    std::vector<std::pair<std::string, Bytes>> definitions;
    for (const fs::path& file : Entries(theme / "Data", ".prd"))
        definitions.emplace_back(file.stem().string(), *ReadFile(file));
    const size_t own = definitions.size();
    for (int row = 0; row < coPropPackCount; ++row) {
        const coPropPackRow& pack = coGetPropPackRow(row);
        if (theme.filename() != pack.theme)
            continue;
        if (auto bytes = ReadPakEntry(data / "Data" / "Geom" / "geom.pak", pack.packFile))
            definitions.emplace_back(fs::path(pack.definitionFile).stem().string(), std::move(*bytes));
    }
    std::vector<std::vector<toolShadedTriangle>> onTab;
    for (const auto& [name, definition] : definitions) {
        const Model model = LoadModel(models, toolReadPropModelName(definition), textures);
        Write(theme / "Icons" / (name + "_i.png"), toolObjectIcon(model.lit));
        Write(theme / "Icons" / (name + "_pd.png"), toolPropPreview(model.lit));
        if (onTab.size() < own)
            onTab.push_back(model.lit);
    }
    if (onTab.empty())
        return;
    std::stable_sort(onTab.begin(), onTab.end(),
                     [](const auto& a, const auto& b) { return Footprint(a) > Footprint(b); });
    onTab.resize(std::min(onTab.size(), kPropsOnTab));
    // The "Environment" tab stands apart above the row, twice as wide.
    const std::vector<toolImage> tab = toolThemeTabLooks(onTab, theme.filename() == "Environment" ? 64 : 32);
    Write(theme / "Icons" / "thmtab_i.png", tab[0]);
    Write(theme / "Icons" / "thmtab_s.png", tab[1]);
}

// The theme's dock, from the first track type it has one for.
void WriteDockIcons(const fs::path& theme) {
    TextureColours textures({Files(theme / "Texture")});
    for (const fs::path& type : Entries(theme / "Tracks"))
        if (fs::exists(type / "Model" / "loaddock.mx")) {
            const Model dock = LoadModel(Files(type / "Model"), "loaddock.mx", textures);
            Write(theme / "Icons" / "dock_i.png", toolObjectIcon(dock.lit));
            Write(theme / "Icons" / "dock_pd.png", toolDockPreview(dock.lit));
            return;
        }
}

// The words of a definition file: whitespace apart, "#" to the end of a line a comment.
std::vector<std::string> Words(const Bytes& file) {
    std::istringstream lines(std::string(file.begin(), file.end()));
    std::vector<std::string> words;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream in(line.substr(0, line.find('#')));
        for (std::string word; in >> word;)
            words.push_back(word);
    }
    return words;
}

// The rails of a track definition ("Rail" sections: outline and material), its crossbar and spacing.
struct TrackLook {
    std::vector<toolTrackSection> sections;
    std::string crossbar;
    float spacing = 0.0f;
};

TrackLook ReadTrackLook(const Bytes& definition, TextureColours& textures) {
    const std::vector<std::string> words = Words(definition);
    TrackLook look;
    std::string block;
    toolTrackSection section{{}, {1, 1, 1}};
    Colour texture{1, 1, 1};
    const auto number = [&](size_t i) { return i < words.size() ? std::stof(words[i]) : 0.0f; };
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "Rail" || word == "Cross" || word == "Chain" || word == "Brakes" || word == "Booster" ||
            word == "Retarder" || word == "Tube") {
            block = word;
            section = {{}, {1, 1, 1}};
            texture = {1, 1, 1};
        } else if (word == "Diffuse") {
            section.colour = {number(i + 1), number(i + 2), number(i + 3)};
        } else if (word == "Texture" && i + 1 < words.size()) {
            const std::array<float, 4> mean = textures.Mean(words[i + 1]);
            texture = {mean[0], mean[1], mean[2]};
        } else if (word == "Vertices" && block == "Rail") {
            const int count = static_cast<int>(number(i + 1));
            for (int v = 0; v < count; ++v)
                section.outline.push_back({number(i + 2 + 2 * v), number(i + 3 + 2 * v)});
            for (int c = 0; c < 3; ++c)
                section.colour[c] *= texture[c];
            look.sections.push_back(section);
        } else if (word == "Geometry" && block == "Cross" && i + 1 < words.size()) {
            look.crossbar = words[i + 1];
        } else if (word == "Spacing" && block == "Cross") {
            look.spacing = number(i + 1);
        }
    }
    return look;
}

// A track type's choice faces: its track with the first theme's train that fits it.
void WriteTrackTypePictures(const fs::path& data, const fs::path& type) {
    const Files files(type);
    TextureColours textures({files});
    const auto definition = files.Read("Track.def");
    if (!definition)
        return;
    const TrackLook look = ReadTrackLook(*definition, textures);
    const std::vector<toolShadedTriangle> crossbar = look.crossbar.empty()
                                                         ? std::vector<toolShadedTriangle>{}
                                                         : LoadModel(files, look.crossbar, textures).lit;
    std::vector<toolShadedTriangle> lead, follower;
    for (const fs::path& theme : Entries(data / "Themes")) {
        const fs::path cars = theme / "Tracks" / type.filename() / "Model";
        if (!fs::exists(cars / "carlead.mx"))
            continue;
        TextureColours theirs({Files(theme / "Texture")});
        lead = LoadModel(Files(cars), "carlead.mx", theirs).lit;
        follower = LoadModel(Files(cars), "carfoll.mx", theirs).lit;
        break;
    }
    WriteChoiceLooks(
        type, toolTrackTypeView(toolTrackStretch(look.sections, crossbar, look.spacing, lead, follower)));
}

// An environment's choice faces: its terrain with the rest of its scenery under its sky.
void WriteEnvironmentPictures(const fs::path& environment) {
    const Files models(environment / "Model");
    TextureColours textures({Files(environment / "Texture")});
    const std::vector<toolShadedTriangle> ground = LoadModel(models, "terrain.mx", textures).lit;
    std::vector<toolShadedTriangle> scenery;
    std::optional<Colour> sky;
    for (const fs::path& file : Entries(environment / "Model", ".mx")) {
        if (file.filename() == "terrain.mx")
            continue;
        Model model = LoadModel(models, file.filename().string(), textures);
        scenery.insert(scenery.end(), model.lit.begin(), model.lit.end());
        if (model.emitted && !sky)
            sky = model.emitted;
    }
    // Without a sky of its own the view looks into the dark, as into a cave.
    WriteChoiceLooks(environment,
                     toolEnvironmentView(ground, scenery, sky.value_or(Colour{0.1f, 0.09f, 0.08f})));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: lvIconGenerator <data folder>\n", stderr);
        return 2;
    }
    try {
        const fs::path data = argv[1];
        for (const fs::path& theme : Entries(data / "Themes")) {
            WritePropIcons(data, theme);
            WriteDockIcons(theme);
        }
        for (const fs::path& type : Entries(data / "Tracks"))
            WriteTrackTypePictures(data, type);
        for (const fs::path& environment : Entries(data / "Environments"))
            WriteEnvironmentPictures(environment);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lvIconGenerator: %s\n", e.what());
        return 1;
    } catch (const envExceptionX& e) {
        std::fprintf(stderr, "lvIconGenerator: error 0x%08X\n", e.GetCode());
        return 1;
    }
    return 0;
}
