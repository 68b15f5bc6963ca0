#pragma once

#include <cstdint>

// Colours are 24-bit values packed as r + 256*g + 65536*b (0x00BBGGRR). A colour query outside a
// picture answers -1.
namespace core {

using Colour = std::int32_t;
inline constexpr Colour kNoColour = -1;

constexpr Colour rgb(int r, int g, int b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr int redOf(Colour c) {
    return c & 0xFF;
}
constexpr int greenOf(Colour c) {
    return (c >> 8) & 0xFF;
}
constexpr int blueOf(Colour c) {
    return (c >> 16) & 0xFF;
}

// Qt's 0xAARRGGBB pixel <-> the packed colour.
constexpr Colour fromQRgb(std::uint32_t argb) {
    return rgb(static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
               static_cast<int>(argb & 0xFF));
}
constexpr std::uint32_t toQRgb(Colour c) {
    return 0xFF000000u | (static_cast<std::uint32_t>(redOf(c)) << 16) |
           (static_cast<std::uint32_t>(greenOf(c)) << 8) | static_cast<std::uint32_t>(blueOf(c));
}
inline constexpr Colour kPointerColour = rgb(255, 200, 0);

}  // namespace core
