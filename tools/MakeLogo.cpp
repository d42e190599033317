// Draws the About box logo (249 x 187 pixels) and writes it as a JPEG file:
// a "V" between two angle brackets over dimmed chat lines, some of them with
// a highlighted name. Run it after changing the drawing and commit the file:
//   build/bin/velmora-make-logo assets/logo.jpg
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int Width = 249;
constexpr int Height = 187;
constexpr int SamplesPerAxis = 4; // 16 samples per pixel smooth the edges

struct TRgb {
    double R, G, B;
};
struct TPoint {
    double X, Y;
};

TRgb Mix(TRgb a, TRgb b, double t)
{
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

double DistanceToSegment(TPoint p, TPoint a, TPoint b)
{
    double dx = b.X - a.X, dy = b.Y - a.Y;
    double t = std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(p.X - (a.X + t * dx), p.Y - (a.Y + t * dy));
}

// Convex quadrilateral with its corners in clockwise order on screen.
using TQuad = std::array<TPoint, 4>;

bool Inside(const TQuad& q, TPoint p)
{
    for (std::size_t i = 0; i < q.size(); ++i) {
        TPoint a = q[i], b = q[(i + 1) % q.size()];
        if ((b.X - a.X) * (p.Y - a.Y) - (b.Y - a.Y) * (p.X - a.X) < 0)
            return false;
    }
    return true;
}

double DistanceToEdge(const TQuad& q, TPoint p)
{
    double d = 1e9;
    for (std::size_t i = 0; i < q.size(); ++i)
        d = std::min(d, DistanceToSegment(p, q[i], q[(i + 1) % q.size()]));
    return d;
}

// The "V": two arms that meet at the bottom, symmetric about the middle.
const TQuad LeftArm = {{{62, 26}, {96, 26}, {134, 158}, {115, 158}}};
const TQuad RightArm = {{{153, 26}, {187, 26}, {134, 158}, {115, 158}}};

bool InV(TPoint p)
{
    return Inside(LeftArm, p) || Inside(RightArm, p);
}

// Distance to the outline of the V, ignoring the seam where the arms overlap.
double VOutline(TPoint p)
{
    double d = 1e9;
    if (!Inside(RightArm, p))
        d = std::min(d, DistanceToEdge(LeftArm, p));
    if (!Inside(LeftArm, p))
        d = std::min(d, DistanceToEdge(RightArm, p));
    return d;
}

bool InBracket(TPoint p, double tipX, double openX)
{
    return DistanceToSegment(p, {openX, 66}, {tipX, 92}) <= 4.0 ||
           DistanceToSegment(p, {tipX, 92}, {openX, 118}) <= 4.0;
}

// Chat lines: a rounded bar per line, some with a highlighted name at the front.
struct TLine {
    double Length;
    double Highlight; // length of the highlighted front part, 0 for none
};
const std::array<TLine, 8> Lines = {{{150, 0}, {196, 46}, {120, 0}, {176, 0},
                                     {208, 38}, {98, 0}, {164, 0}, {186, 52}}};

bool InBar(TPoint p, double x0, double x1, double y)
{
    return DistanceToSegment(p, {x0, y}, {x1, y}) <= 3.0;
}

TRgb Sample(TPoint p)
{
    const TRgb top{0x12, 0x00, 0x1a}, bottom{0x40, 0x00, 0x40};
    TRgb c = Mix(top, bottom, p.Y / Height);
    double glow = std::max(0.0, 1.0 - std::hypot(p.X - Width / 2.0, p.Y - 86) / 120.0);
    c = Mix(c, {0x00, 0x60, 0x80}, 0.35 * glow * glow);

    for (std::size_t i = 0; i < Lines.size(); ++i) {
        double y = 24 + 19.0 * static_cast<double>(i);
        double x0 = 20, x1 = x0 + Lines[i].Length;
        if (InBar(p, x0, x1, y)) {
            bool highlighted = Lines[i].Highlight > 0 && p.X <= x0 + Lines[i].Highlight;
            c = Mix(c, highlighted ? TRgb{0xff, 0xd2, 0x3f} : TRgb{0x40, 0x90, 0x90}, highlighted ? 0.55 : 0.35);
        }
    }

    if (InV({p.X - 3, p.Y - 3}))
        c = Mix(c, {0, 0, 0}, 0.6); // shadow
    if (InV(p)) {
        TRgb fill = Mix({0x00, 0xff, 0xff}, {0x00, 0x50, 0xff}, (p.Y - 26) / 132.0);
        c = VOutline(p) < 1.6 ? TRgb{0x00, 0x10, 0x30} : fill;
    }
    if (InBracket(p, 18, 42) || InBracket(p, Width - 18, Width - 42))
        c = {0xff, 0xff, 0x00};
    if (DistanceToSegment(p, {20, 172}, {Width - 20, 172}) <= 1.0)
        c = Mix(c, {0x00, 0xff, 0xff}, 0.8);
    return c;
}

std::vector<unsigned char> Draw()
{
    std::vector<unsigned char> rgb;
    rgb.reserve(std::size_t{Width} * Height * 3);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            TRgb sum{0, 0, 0};
            for (int sy = 0; sy < SamplesPerAxis; ++sy)
                for (int sx = 0; sx < SamplesPerAxis; ++sx) {
                    TRgb s = Sample({x + (sx + 0.5) / SamplesPerAxis, y + (sy + 0.5) / SamplesPerAxis});
                    sum = {sum.R + s.R, sum.G + s.G, sum.B + s.B};
                }
            const double n = SamplesPerAxis * SamplesPerAxis;
            for (double v : {sum.R / n, sum.G / n, sum.B / n})
                rgb.push_back(static_cast<unsigned char>(std::lround(std::clamp(v, 0.0, 255.0))));
        }
    return rgb;
}

bool WriteJpeg(const char* path, std::vector<unsigned char>& rgb)
{
    FILE* file = std::fopen(path, "wb");
    if (!file)
        return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr); // the default handler ends the tool on an error
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = Width;
    cinfo.image_height = Height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 92, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = &rgb[std::size_t{cinfo.next_scanline} * Width * 3];
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(file) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.jpg\n", argv[0]);
        return 2;
    }
    std::vector<unsigned char> rgb = Draw();
    if (!WriteJpeg(argv[1], rgb)) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
