// The colours the core asks the window to draw in.
#pragma once

#include <cstdint>

namespace hayate {

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend constexpr bool operator==(Colour, Colour) = default;
};

namespace colour {
inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kNone = kBlack;    // a cell not completed
inline constexpr Colour kBlue{0, 0, 255};  // completed
inline constexpr Colour kRed{255, 0, 0};   // a wrong key was pressed
inline constexpr Colour kYellow{255, 255, 0};
inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kTeal{0, 128, 128};
inline constexpr Colour kMaroon{128, 0, 0};
}  // namespace colour

}  // namespace hayate
