#pragma once

// An anchor point: percentages of the client area's width and height, from its top-left corner.
struct AnchorPoint {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(const AnchorPoint&, const AnchorPoint&) = default;
};

inline constexpr AnchorPoint AnchorTopLeft{0, 0};
inline constexpr AnchorPoint AnchorTopCenter{50, 0};
inline constexpr AnchorPoint AnchorTopRight{100, 0};
inline constexpr AnchorPoint AnchorMiddleLeft{0, 50};
inline constexpr AnchorPoint AnchorMiddleCenter{50, 50};
inline constexpr AnchorPoint AnchorMiddleRight{100, 50};
inline constexpr AnchorPoint AnchorBottomLeft{0, 100};
inline constexpr AnchorPoint AnchorBottomCenter{50, 100};
inline constexpr AnchorPoint AnchorBottomRight{100, 100};
// Only as a second anchor: the bottom-right corner follows the first anchor, so the control
// moves but keeps its size.
inline constexpr AnchorPoint AnchorNone{-1, -1};

// The pixel position of an anchor percentage on an extent: multiply first, then divide,
// truncating toward zero (a width of 201 at 50 gives 100).
constexpr int AnchorOffset(int percent, int extent)
{
    return extent * percent / 100;
}
