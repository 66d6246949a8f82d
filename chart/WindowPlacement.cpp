#include "chart/WindowPlacement.h"

#include <algorithm>

namespace {
// Sizes at 96 DPI, scaled to the screen's.
constexpr int openWidth = 520;
constexpr int openHeight = 600;
constexpr int smallestSize = 240;
constexpr int gapToDialog = 8;

int scaled(int size, int dpi) { return size * dpi / 96; }
}  // namespace

Area placeBeside(const Area& owner, const Area& work, int dpi) {
    const int gap = scaled(gapToDialog, dpi);
    const int rightRoom = work.right - owner.right - gap;
    const int leftRoom = owner.left - gap - work.left;
    int width = std::min(scaled(openWidth, dpi), work.width());
    const int height = std::min(std::max(scaled(openHeight, dpi), owner.height()), work.height());
    int left = work.right - width;
    if (rightRoom >= width) {
        left = owner.right + gap;
    } else if (leftRoom >= width) {
        left = owner.left - gap - width;
    } else if (std::max(rightRoom, leftRoom) >= scaled(smallestSize, dpi)) {
        width = std::max(rightRoom, leftRoom);
        left = rightRoom >= leftRoom ? owner.right + gap : work.left;
    }
    const int top = std::clamp(owner.top, work.top, work.bottom - height);
    return Area{left, top, left + width, top + height};
}

int smallestProgressSize(int dpi) { return scaled(smallestSize, dpi); }
