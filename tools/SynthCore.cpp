#include "SynthCore.h"

#include <random>

namespace synth {

VarvedCore makeVarvedCore(int width, int height, bool colour, unsigned seed) {
    VarvedCore core;
    core.middleTop = height / 4;
    core.middleBottom = 3 * height / 4 - 1;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> thickness(4, 12), shade(-15, 15);
    core.columnGrey.resize(static_cast<std::size_t>(width));
    bool light = true;
    int x = 0;
    while (x < width) {
        const int t = thickness(random);
        const int grey = (light ? 170 : 80) + shade(random);
        for (int i = 0; i < t && x < width; ++i, ++x) core.columnGrey[static_cast<std::size_t>(x)] = grey;
        if (x < width) core.boundaries.push_back(x);
        light = !light;
    }
    core.radiograph = QImage(width, height, colour ? QImage::Format_RGB32 : QImage::Format_Grayscale8);
    for (int y = 0; y < height; ++y) {
        const bool middle = y >= core.middleTop && y <= core.middleBottom;
        uchar* row = core.radiograph.scanLine(y);
        for (int c = 0; c < width; ++c) {
            const int g = middle ? core.columnGrey[static_cast<std::size_t>(c)]
                                 : core.columnGrey[static_cast<std::size_t>(c)] / 2;
            if (colour) {
                reinterpret_cast<QRgb*>(row)[c] = qRgb(g + 10, g, g - 10);
            } else {
                row[c] = static_cast<uchar>(g);
            }
        }
    }
    return core;
}

}  // namespace synth
