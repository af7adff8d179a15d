#include "paint/view_palette.h"

namespace tarvex::paint {

namespace {

struct Rgb {
    int r, g, b;
};

constexpr std::array<Rgb, ViewPalette::Size> Table = { {
    { 0, 0, 200 },
    { 0, 0, 255 },
    { 0, 255, 0 },
    { 0, 0, 255 },
    { 255, 0, 0 },
    { 255, 0, 255 },
    { 130, 130, 5 },
    { 130, 130, 130 },
    { 192, 192, 192 },
    { 0, 255, 255 },
    { 0, 129, 0 },
    { 64, 191, 156 },
    { 129, 0, 0 },
    { 129, 0, 129 },
    { 255, 255, 0 },
    { 255, 255, 255 },
    { 0, 255, 255 },
    { 0, 0, 160 },
    { 30, 30, 255 },
    { 70, 185, 234 },
    { 150, 225, 169 },
    { 111, 200, 138 },
    { 80, 185, 100 },
    { 56, 173, 86 },
    { 166, 200, 56 },
    { 242, 253, 36 },
    { 250, 202, 39 },
    { 250, 163, 69 },
    { 255, 128, 0 },
    { 255, 0, 0 },
    { 200, 95, 65 },
    { 163, 95, 80 },
    { 0, 0, 0 },
} };

} // namespace

QColor ViewPalette::entry(ColorIndex index)
{
    const Rgb& rgb
        = (index < 0 || index >= Size) ? Table.back() : Table[static_cast<std::size_t>(index)];
    return QColor(rgb.r, rgb.g, rgb.b);
}

Qt::PenStyle penStyle(int style)
{
    switch (style) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    default:
        return Qt::SolidLine;
    }
}

} // namespace tarvex::paint
