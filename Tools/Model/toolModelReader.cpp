#include "Tools/Model/toolModelReader.h"

#include <array>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace {

// A window of the file's bytes read front to back, little-endian as the writers write them.
class Bytes {
  public:
    explicit Bytes(std::span<const u8> bytes) : m_bytes(bytes) {}

    bool Empty() const { return m_bytes.empty(); }
    template <class T> T Read() {
        T value;
        std::memcpy(&value, Take(sizeof(T)).data(), sizeof(T));
        return value;
    }
    std::span<const u8> Take(size_t count) {
        if (count > m_bytes.size())
            throw std::runtime_error("model file runs short");
        const std::span<const u8> taken = m_bytes.first(count);
        m_bytes = m_bytes.subspan(count);
        return taken;
    }
    std::string Narrow() {
        std::string text;
        for (char c = Read<char>(); c != '\0'; c = Read<char>())
            text.push_back(c);
        return text;
    }
    // UTF-16 text of ASCII names, as the definitions' file names are.
    std::string Wide() {
        std::string text;
        for (char16_t c = Read<char16_t>(); c != u'\0'; c = Read<char16_t>())
            text.push_back(static_cast<char>(c));
        return text;
    }
    maVector3d Vector() {
        const float x = Read<float>(), y = Read<float>();
        return {x, y, Read<float>()};
    }

  private:
    std::span<const u8> m_bytes;
};

struct Chunk {
    std::string_view id;
    Bytes body;
};

// The next chunk: its id, then its body's size, then its version.
Chunk NextChunk(Bytes& bytes) {
    const std::span<const u8> id = bytes.Take(4);
    const u32 size = bytes.Read<u32>();
    bytes.Read<u16>();
    return {{reinterpret_cast<const char*>(id.data()), 4}, Bytes(bytes.Take(size))};
}

// Row vectors times a row-major matrix whose last row is the translation.
using Matrix = std::array<float, 16>;
constexpr Matrix kIdentity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

maVector3d Transform(const Matrix& m, const maVector3d& p) {
    return {p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12], p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
            p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]};
}

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix out{};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            for (int k = 0; k < 4; ++k)
                out[row * 4 + column] += a[row * 4 + k] * b[k * 4 + column];
    return out;
}

toolModelMaterial ReadMaterial(Bytes body) {
    toolModelMaterial material;
    while (!body.Empty()) {
        Chunk chunk = NextChunk(body);
        if (chunk.id != "MBAS")
            continue;
        for (auto* colour : {&material.diffuse, &material.ambient, &material.specular, &material.emissive})
            for (float& value : *colour)
                value = chunk.body.Read<float>();
        material.power = chunk.body.Read<float>();
        for (u8 count = chunk.body.Read<u8>(); count > 0; --count)
            material.textures.push_back(chunk.body.Narrow());
    }
    return material;
}

void ReadFragment(Bytes body, const Matrix& place, toolModelTriangles& out) {
    std::vector<maVector3d> positions;
    while (!body.Empty()) {
        Chunk chunk = NextChunk(body);
        if (chunk.id == "GVER") {
            for (u16 count = chunk.body.Read<u16>(); count > 0; --count)
                positions.push_back(Transform(place, chunk.body.Vector()));
        } else if (chunk.id == "MATR") {
            out.materials.push_back(ReadMaterial(chunk.body));
        } else if (chunk.id == "GIND") {
            if (out.materials.empty())
                throw std::runtime_error("model triangles before their material");
            for (u16 count = chunk.body.Read<u16>(); count > 0; --count) {
                toolModelTriangles::Triangle triangle{{}, out.materials.size() - 1};
                for (maVector3d& corner : triangle.corners) {
                    const u16 index = chunk.body.Read<u16>();
                    if (index >= positions.size())
                        throw std::runtime_error("model triangle names a missing position");
                    corner = positions[index];
                }
                out.triangles.push_back(triangle);
            }
        }
    }
}

// A level of chunks: fragments placed by the level's matrix (which a "HTRN" chunk sets for what follows
// it), the levels and joints within placed in turn; anything else is not geometry.
void ReadLevel(Bytes body, Matrix place, toolModelTriangles& out) {
    const Matrix parent = place;
    while (!body.Empty()) {
        Chunk chunk = NextChunk(body);
        if (chunk.id == "GFRG") {
            ReadFragment(chunk.body, place, out);
        } else if (chunk.id == "HTRN") {
            Matrix local;
            for (float& value : local)
                value = chunk.body.Read<float>();
            place = Multiply(local, parent);
        } else if (chunk.id == "MHIE" || chunk.id == "HLEV" || chunk.id == "HJNT" || chunk.id == "MSSK") {
            ReadLevel(chunk.body, place, out);
        }
    }
}

// The binary chunk files' header, when the file has one.
Bytes AfterHeader(std::span<const u8> file) {
    const bool header = file.size() >= 8 && (std::memcmp(file.data(), "KSFB", 4) == 0 ||
                                             std::memcmp(file.data(), "BRFB", 4) == 0);
    return Bytes(file.subspan(header ? 8 : 0));
}

} // namespace

toolModelTriangles toolReadModelTriangles(std::span<const u8> file) {
    toolModelTriangles triangles;
    ReadLevel(AfterHeader(file), kIdentity, triangles);
    return triangles;
}

std::string toolReadPropModelName(std::span<const u8> file) {
    Bytes bytes = AfterHeader(file);
    Chunk prop = NextChunk(bytes);
    while (!prop.body.Empty()) {
        Chunk chunk = NextChunk(prop.body);
        if (chunk.id == "MODL")
            return chunk.body.Wide();
    }
    throw std::runtime_error("prop definition without a model");
}
