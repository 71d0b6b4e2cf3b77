// Writes the die-face bitmaps and the window icon into the folder given on
// the command line:
//   101.dib .. 106.dib  face 1..6, 33x33 24-bit DIB without file header
//   quintor.ico         32x32 16-colour icon with a transparency mask
// Everything is drawn from code so the pixels can be reviewed here rather
// than in a binary file.

#include "ByteWriter.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// BITMAPINFOHEADER: uncompressed, no resolution, full palette for the depth.
void putInfoHeader(Bytes &out, int width, int height, int bitsPerPixel, std::uint32_t imageSize)
{
    putU32(out, 40);
    putU32(out, static_cast<std::uint32_t>(width));
    putU32(out, static_cast<std::uint32_t>(height));
    putU16(out, 1);
    putU16(out, static_cast<unsigned>(bitsPerPixel));
    putU32(out, 0);  // BI_RGB
    putU32(out, imageSize);
    putU32(out, 0);  // pixels per metre, x
    putU32(out, 0);  // pixels per metre, y
    putU32(out, 0);  // colours used
    putU32(out, 0);  // important colours
}

// ---------------------------------------------------------------- die faces

constexpr int FaceSize = 33;

struct Point {
    int x;
    int y;
};

// Pip centres per face, on the 6/16/26 grid (y grows downward).
const std::array<std::vector<Point>, 6> PipCentres = {{
    {{16, 16}},
    {{6, 6}, {26, 26}},
    {{6, 6}, {16, 16}, {26, 26}},
    {{6, 6}, {26, 6}, {6, 26}, {26, 26}},
    {{6, 6}, {26, 6}, {16, 16}, {6, 26}, {26, 26}},
    {{6, 6}, {26, 6}, {6, 16}, {26, 16}, {6, 26}, {26, 26}},
}};

// A pip is a 7-pixel-high disc; these are the half-widths of its rows
// (3, 5, 7, 7, 7, 5, 3 pixels).
constexpr std::array<int, 7> PipHalfWidths = {1, 2, 3, 3, 3, 2, 1};

using FaceGrid = std::array<std::array<bool, FaceSize>, FaceSize>;  // [y][x], true = black

FaceGrid drawFace(int face)
{
    FaceGrid black{};
    const int last = FaceSize - 1;
    // Frame without its corner pixels, so the corners look rounded.
    for (int i = 1; i < last; ++i) {
        black[0][i] = black[last][i] = true;
        black[i][0] = black[i][last] = true;
    }
    for (const Point &c : PipCentres[static_cast<std::size_t>(face - 1)]) {
        for (int row = 0; row < 7; ++row) {
            const int half = PipHalfWidths[static_cast<std::size_t>(row)];
            for (int dx = -half; dx <= half; ++dx)
                black[static_cast<std::size_t>(c.y - 3 + row)][static_cast<std::size_t>(c.x + dx)] = true;
        }
    }
    return black;
}

Bytes faceBitmap(int face)
{
    constexpr int rowBytes = (FaceSize * 3 + 3) / 4 * 4;  // 100
    const FaceGrid black = drawFace(face);
    Bytes out;
    putInfoHeader(out, FaceSize, FaceSize, 24, rowBytes * FaceSize);
    for (int y = FaceSize - 1; y >= 0; --y) {  // bottom row first
        for (int x = 0; x < FaceSize; ++x) {
            const std::uint8_t v = black[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] ? 0 : 255;
            out.insert(out.end(), {v, v, v});  // B, G, R
        }
        out.resize(out.size() + (rowBytes - FaceSize * 3), 0);
    }
    return out;
}

// --------------------------------------------------------------------- icon

constexpr int IconSize = 32;

// The standard 16-colour VGA palette; the icon uses only a few of them.
enum Colour : std::uint8_t { Black = 0, LightGrey = 7, DarkGrey = 8, White = 15, Transparent = 16 };

const std::array<std::array<std::uint8_t, 3>, 16> VgaPalette = {{
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
    {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
    {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
}};  // R, G, B

class Canvas {
public:
    Canvas() { for (auto &row : px_) row.fill(Transparent); }

    Colour at(int x, int y) const { return px_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]; }

    void set(int x, int y, Colour c)
    {
        if (x >= 0 && x < IconSize && y >= 0 && y < IconSize)
            px_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = c;
    }

    void line(Point a, Point b, Colour c)  // Bresenham
    {
        const int dx = std::abs(b.x - a.x), sx = a.x < b.x ? 1 : -1;
        const int dy = -std::abs(b.y - a.y), sy = a.y < b.y ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            set(a.x, a.y, c);
            if (a.x == b.x && a.y == b.y)
                break;
            const int e2 = 2 * err;
            if (e2 >= dy) { err += dy; a.x += sx; }
            if (e2 <= dx) { err += dx; a.y += sy; }
        }
    }

    // Fills a convex quadrilateral and outlines it in black; corner points
    // are pixel centres.
    void quad(const std::array<Point, 4> &p, Colour fill)
    {
        for (int y = 0; y < IconSize; ++y)
            for (int x = 0; x < IconSize; ++x)
                if (inside(p, x, y))
                    set(x, y, fill);
        for (std::size_t i = 0; i < 4; ++i)
            line(p[i], p[(i + 1) % 4], Black);
    }

    void rect(int x, int y, int w, int h, Colour c)
    {
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                set(x + i, y + j, c);
    }

private:
    static bool inside(const std::array<Point, 4> &p, int x, int y)
    {
        bool anyPositive = false, anyNegative = false;
        for (std::size_t i = 0; i < 4; ++i) {
            const Point a = p[i], b = p[(i + 1) % 4];
            const int cross = (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
            anyPositive |= cross > 0;
            anyNegative |= cross < 0;
        }
        return !(anyPositive && anyNegative);
    }

    std::array<std::array<Colour, IconSize>, IconSize> px_;
};

// A die seen slightly from above and from the right: a white front square
// of side `size` with its top-left corner at (x, y), a light top and a dark
// right side receding `depth` pixels at 45 degrees. Pips are 2x2 squares
// placed on a 3x3 grid of the front face; `pips` lists (column, row) cells.
void drawDie(Canvas &canvas, int x, int y, int size, int depth, const std::vector<Point> &pips)
{
    const int r = x + size - 1, b = y + size - 1;
    canvas.quad({{{x, y}, {x + depth, y - depth}, {r + depth, y - depth}, {r, y}}}, LightGrey);
    canvas.quad({{{r, y}, {r + depth, y - depth}, {r + depth, b - depth}, {r, b}}}, DarkGrey);
    canvas.quad({{{x, y}, {r, y}, {r, b}, {x, b}}}, White);

    // Pip cells: 2 pixels in from the frame, the rest spread evenly.
    const int inner = size - 2;                   // white area inside the frame
    const int step = (inner - 2 * 2 - 2) / 2;     // distance between pip columns
    const int first = x + 1 + (inner - 2 * step - 2) / 2;
    const int top = y + 1 + (inner - 2 * step - 2) / 2;
    for (const Point &cell : pips)
        canvas.rect(first + cell.x * step, top + cell.y * step, 2, 2, Black);
}

Canvas drawIcon()
{
    Canvas canvas;
    // The back die sits up and to the left, the front die overlaps it.
    drawDie(canvas, 1, 5, 14, 4, {{0, 0}, {1, 1}, {2, 2}});
    drawDie(canvas, 13, 17, 14, 4, {{0, 0}, {2, 0}, {0, 2}, {2, 2}});
    return canvas;
}

Bytes iconFile()
{
    const Canvas canvas = drawIcon();
    constexpr std::uint32_t xorBytes = IconSize * IconSize / 2;  // 4 bits per pixel
    constexpr std::uint32_t andBytes = IconSize * IconSize / 8;  // rows are already 4-byte aligned
    constexpr std::uint32_t imageBytes = 40 + 16 * 4 + xorBytes + andBytes;

    Bytes out;
    // ICONDIR: reserved, type 1 (icon), one image.
    putU16(out, 0);
    putU16(out, 1);
    putU16(out, 1);
    // ICONDIRENTRY
    out.insert(out.end(), {IconSize, IconSize, 16, 0});  // width, height, colours, reserved
    putU16(out, 1);                                     // planes
    putU16(out, 4);                                     // bits per pixel
    putU32(out, imageBytes);
    putU32(out, 6 + 16);                                // offset of the image

    // The image height counts the XOR bitmap and the AND mask together.
    putInfoHeader(out, IconSize, 2 * IconSize, 4, xorBytes + andBytes);
    for (const auto &rgb : VgaPalette)
        out.insert(out.end(), {rgb[2], rgb[1], rgb[0], 0});
    for (int y = IconSize - 1; y >= 0; --y) {
        for (int x = 0; x < IconSize; x += 2) {
            auto index = [&](int px) {
                const Colour c = canvas.at(px, y);
                return static_cast<std::uint8_t>(c == Transparent ? Black : c);
            };
            out.push_back(static_cast<std::uint8_t>(index(x) << 4 | index(x + 1)));
        }
    }
    // AND mask: a set bit lets the background through.
    for (int y = IconSize - 1; y >= 0; --y) {
        for (int x = 0; x < IconSize; x += 8) {
            std::uint8_t bits = 0;
            for (int i = 0; i < 8; ++i)
                if (canvas.at(x + i, y) == Transparent)
                    bits |= static_cast<std::uint8_t>(0x80 >> i);
            out.push_back(bits);
        }
    }
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_images OUTPUT_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = true;
    for (int face = 1; face <= 6; ++face)
        ok = writeFile("gen_images", dir + "/" + std::to_string(100 + face) + ".dib", faceBitmap(face)) && ok;
    ok = writeFile("gen_images", dir + "/quintor.ico", iconFile()) && ok;
    return ok ? 0 : 1;
}
