#pragma once

#include <cmath>

// Where a press on the section's frame takes hold of it, in the twips of the picture the frame lies
// on (the preview or the raw image window).
namespace radiograph {

// A press closer to an edge than this (two pixels) takes hold of the edge; a section is never
// narrower than kMinimumSectionWidth.
inline constexpr double kSectionEdgeReach = 30;
inline constexpr double kMinimumSectionWidth = 90;
// A frame narrower than this (16 pixels) is taken whole wherever it is pressed inside, and its edges
// only from just outside it: the section of a long core is a few pixels wide in the preview, too
// narrow for two edges and a middle.
inline constexpr double kNarrowSectionWidth = 240;

enum class SectionGrip { None, LeftEdge, RightEdge, Whole };

// The part of a frame `width` twips wide that a press `at` twips right of its left edge takes.
inline SectionGrip sectionGripAt(double at, double width) {
    if (width < kNarrowSectionWidth) {
        if (at > -kSectionEdgeReach && at <= 0) return SectionGrip::LeftEdge;
        if (at >= width && at < width + kSectionEdgeReach) return SectionGrip::RightEdge;
    } else if (std::abs(at) < kSectionEdgeReach) {
        return SectionGrip::LeftEdge;
    } else if (std::abs(at - width) < kSectionEdgeReach) {
        return SectionGrip::RightEdge;
    }
    return at > 0 && at < width ? SectionGrip::Whole : SectionGrip::None;
}

}  // namespace radiograph
