#pragma once
// ".tpr" files built byte by byte, independent of any writer of the project.
#include "Engine/Graphics/G2d/g2dImageBuilder.h"

#include <cstring>
#include <string>
#include <vector>

namespace scTprBytes {

using g2dImageBuilder::Le;

inline std::string I8(int value) {
    return std::string(1, static_cast<char>(value));
}

inline std::string F32(float value) {
    u32 bits = 0;
    std::memcpy(&bits, &value, 4);
    return Le(bits);
}

inline std::string Chunk(const std::string& id, const std::string& body) {
    return id + Le(static_cast<u32>(body.size())) + Le(1, 2) + body;
}

// UTF-16 units with the closing 0 unit.
inline std::string Name(const std::string& text) {
    std::string bytes;
    for (char c : text)
        bytes += Le(static_cast<u8>(c), 2);
    return bytes + Le(0, 2);
}

inline std::string Genp(int generatorType, int emitterType, float x, float y, float z) {
    return Chunk("GENP", I8(generatorType) + I8(emitterType) + F32(x) + F32(y) + F32(z));
}

// (time, value) pairs after the count.
inline std::string Sgpp(int growth, int frame, int lighting, const std::string& texture,
                        const std::vector<std::pair<float, float>>& curve) {
    std::string body =
        I8(growth) + I8(frame) + I8(lighting) + Name(texture) + I8(static_cast<int>(curve.size()));
    for (const auto& [time, value] : curve)
        body += F32(time) + F32(value);
    return Chunk("SGPP", body);
}

inline std::string Parp(const std::vector<float>& values) {
    std::string body = I8(static_cast<int>(values.size()));
    for (float value : values)
        body += F32(value);
    return Chunk("PARP", body);
}

// The header's byte-order byte is the writer's; readers open every data file alike.
inline std::string Tpr(const std::string& children, int byteOrderByte = 2) {
    return "KSFB" + I8(byteOrderByte) + std::string(3, '\0') + Chunk("TPAR", children);
}

} // namespace scTprBytes
