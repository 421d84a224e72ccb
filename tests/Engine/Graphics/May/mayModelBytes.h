#pragma once
#include "Engine/App/Ch/chTestBytes.h"

#include <array>
#include <cstring>
#include <initializer_list>
#include <vector>

// Model files laid out by hand, independent of the engine's writer.
namespace mayModelBytes {

class Body : public envTestBytesOf<Body> {
  public:
    Body& Floats(std::initializer_list<f32> values) {
        for (f32 v : values)
            Le(v);
        return *this;
    }
};

inline std::string Chunk(const char* id, const std::string& body) {
    return chTestBytes().Chunk(id, static_cast<u32>(body.size()), 1).Str() + body;
}

inline std::string File(const std::string& chunks) {
    return "KSFB" + std::string(4, '\0') + chunks;
}

inline std::string Name(const char* name) {
    return Chunk("NNAM", std::string(name, std::strlen(name) + 1));
}

// A fragment of `positions` stored positions (x = index) with one triangle a normal, every triangle on
// positions 0, 1, 2: position 0 becomes one vertex per normal. The material names its textures.
inline std::string Fragment(u16 positions, u16 normals, std::initializer_list<const char*> textures = {}) {
    Body gver, nver, gind, nind, mbas;
    gver.U16(positions);
    for (u16 i = 0; i < positions; ++i)
        gver.Floats({f32(i), 0, 0});
    nver.U16(normals);
    gind.U16(normals);
    nind.U16(normals);
    for (u16 n = 0; n < normals; ++n) {
        nver.Floats({0, 0, 1});
        gind.U16(0).U16(1).U16(2);
        nind.U16(n).U16(n).U16(n);
    }
    mbas.Floats({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0}).U8(static_cast<u8>(textures.size()));
    for (const char* t : textures)
        mbas.Text(std::string(t, std::strlen(t) + 1));
    return Chunk("GFRG", Chunk("GVER", gver.Str()) + Chunk("NVER", nver.Str()) +
                             Chunk("MATR", Chunk("MBAS", mbas.Str())) + Chunk("GIND", gind.Str()) +
                             Chunk("NIND", nind.Str()));
}

// Joint data: translation, rotation, orientation, three unused floats, the identity, then the
// influences (stored position, weight); count overrides their number.
inline std::string JointData(const std::vector<std::pair<u16, f32>>& influences, int count = -1) {
    Body body;
    body.Floats({1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    for (int i = 0; i < 16; ++i)
        body.Le(f32(i % 5 == 0 ? 1 : 0));
    body.U16(static_cast<u16>(count < 0 ? influences.size() : count));
    for (auto [index, weight] : influences)
        body.U16(index).Le(weight);
    return Chunk("JODA", body.Str());
}

// Keys (x, y, z, time); count overrides their number.
inline std::string Keys(const char* id, std::initializer_list<std::array<f32, 4>> keys, int count = -1) {
    Body body;
    body.U16(static_cast<u16>(count < 0 ? keys.size() : count));
    for (const auto& k : keys)
        body.Floats({k[0], k[1], k[2], k[3]});
    return Chunk(id, body.Str());
}

} // namespace mayModelBytes
