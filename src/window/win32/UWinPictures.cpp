#include "window/win32/UWinPictures.h"

#include <initializer_list>
#include <vector>

namespace velmora {

namespace {

// Draws shapes given on a 16 x 16 grid into the colour bitmap and, in black,
// into the mask (whose white stays transparent).
class TPainter {
public:
    TPainter(HDC color, HDC mask, int size) : FColor(color), FMask(mask), FSize(size) {}

    void Box(COLORREF fill, int left, int top, int right, int bottom, COLORREF frame = CLR_INVALID)
    {
        for (HDC dc : {FColor, FMask}) {
            HBRUSH brush = CreateSolidBrush(dc == FMask ? RGB(0, 0, 0) : fill);
            HPEN pen = CreatePen(PS_SOLID, 1, dc == FMask ? RGB(0, 0, 0) : (frame == CLR_INVALID ? fill : frame));
            HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
            Rectangle(dc, At(left), At(top), At(right), At(bottom));
            SelectObject(dc, oldBrush);
            SelectObject(dc, oldPen);
            DeleteObject(brush);
            DeleteObject(pen);
        }
    }
    void Shape(COLORREF fill, std::initializer_list<POINT> points, bool ellipse = false)
    {
        std::vector<POINT> scaled;
        for (POINT p : points)
            scaled.push_back({At(p.x), At(p.y)});
        for (HDC dc : {FColor, FMask}) {
            HBRUSH brush = CreateSolidBrush(dc == FMask ? RGB(0, 0, 0) : fill);
            HPEN pen = CreatePen(PS_SOLID, 1, dc == FMask ? RGB(0, 0, 0) : fill);
            HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
            if (ellipse)
                Ellipse(dc, scaled[0].x, scaled[0].y, scaled[1].x, scaled[1].y);
            else
                Polygon(dc, scaled.data(), static_cast<int>(scaled.size()));
            SelectObject(dc, oldBrush);
            SelectObject(dc, oldPen);
            DeleteObject(brush);
            DeleteObject(pen);
        }
    }
    void Line(COLORREF color, int width, std::initializer_list<POINT> points)
    {
        std::vector<POINT> scaled;
        for (POINT p : points)
            scaled.push_back({At(p.x), At(p.y)});
        for (HDC dc : {FColor, FMask}) {
            HPEN pen = CreatePen(PS_SOLID, std::max(1, At(width)), dc == FMask ? RGB(0, 0, 0) : color);
            HGDIOBJ old = SelectObject(dc, pen);
            Polyline(dc, scaled.data(), static_cast<int>(scaled.size()));
            SelectObject(dc, old);
            DeleteObject(pen);
        }
    }

private:
    int At(int grid) const { return MulDiv(grid, FSize, 16); }

    HDC FColor, FMask;
    int FSize;
};

const COLORREF Green = RGB(0x20, 0x9A, 0x30), Red = RGB(0xD0, 0x20, 0x20), Blue = RGB(0x20, 0x50, 0xC0),
               Yellow = RGB(0xE8, 0xC0, 0x20), Grey = RGB(0x70, 0x70, 0x70), White = RGB(0xFF, 0xFF, 0xFF),
               Paper = RGB(0xF4, 0xF4, 0xF0);

void Draw(TPainter& p, TPicture picture)
{
    switch (picture) {
    case TPicture::Add:
        p.Box(Green, 6, 2, 10, 14);
        p.Box(Green, 2, 6, 14, 10);
        break;
    case TPicture::Remove:
        p.Line(Red, 3, {{3, 3}, {13, 13}});
        p.Line(Red, 3, {{13, 3}, {3, 13}});
        break;
    case TPicture::Convert:
        p.Shape(Green, {{3, 1}, {14, 8}, {3, 15}});
        break;
    case TPicture::Stop:
        p.Box(Red, 2, 2, 14, 14);
        break;
    case TPicture::About:
        p.Shape(Blue, {{1, 1}, {15, 15}}, true);
        p.Box(White, 7, 7, 9, 13);
        p.Box(White, 7, 3, 9, 5);
        break;
    case TPicture::Exit:
        p.Box(Paper, 3, 1, 12, 15, Grey);
        p.Shape(Red, {{6, 8}, {11, 4}, {11, 12}});
        break;
    case TPicture::Palette:
        p.Box(Red, 1, 1, 8, 8, RGB(0, 0, 0));
        p.Box(Green, 8, 1, 15, 8, RGB(0, 0, 0));
        p.Box(Blue, 1, 8, 8, 15, RGB(0, 0, 0));
        p.Box(Yellow, 8, 8, 15, 15, RGB(0, 0, 0));
        break;
    case TPicture::Open:
        p.Box(Yellow, 1, 4, 15, 14, Grey);
        p.Box(Yellow, 1, 2, 7, 5, Grey);
        break;
    case TPicture::Save:
        p.Box(Blue, 1, 1, 15, 15);
        p.Box(White, 4, 2, 12, 7);
        p.Box(Grey, 5, 10, 11, 15);
        break;
    case TPicture::Update:
        p.Line(Green, 3, {{2, 8}, {6, 12}, {14, 3}});
        break;
    case TPicture::FileList:
        p.Box(Paper, 2, 1, 14, 15, Grey);
        for (int y : {4, 7, 10})
            p.Box(Blue, 4, y, 12, y + 1);
        break;
    case TPicture::Names:
        p.Box(Paper, 1, 2, 15, 14, Grey);
        p.Box(Yellow, 3, 5, 13, 8);
        p.Box(Grey, 3, 10, 11, 11);
        break;
    case TPicture::PageStyle:
        // A page with a heading and lines of several colours.
        p.Box(Paper, 2, 1, 14, 15, Grey);
        p.Box(Blue, 4, 3, 12, 5);
        p.Box(Green, 4, 7, 10, 8);
        p.Box(Red, 4, 10, 12, 11);
        p.Box(Grey, 4, 13, 9, 14);
        break;
    case TPicture::Settings:
        p.Line(Grey, 2, {{2, 4}, {14, 4}});
        p.Line(Grey, 2, {{2, 12}, {14, 12}});
        p.Box(Blue, 4, 2, 8, 7);
        p.Box(Blue, 9, 10, 13, 15);
        break;
    }
}

} // namespace

TWinPictures::~TWinPictures()
{
    for (auto& [key, list] : FLists)
        ImageList_Destroy(list);
    for (auto& [key, icon] : FIcons)
        DestroyIcon(icon);
}

HIMAGELIST TWinPictures::List(TPicture picture, int size)
{
    HIMAGELIST& list = FLists[{picture, size}];
    if (!list) {
        list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 0);
        ImageList_AddIcon(list, Icon(picture, size));
    }
    return list;
}

HICON TWinPictures::Icon(TPicture picture, int size)
{
    HICON& icon = FIcons[{picture, size}];
    if (icon)
        return icon;
    HDC screen = GetDC(nullptr);
    HDC colorDc = CreateCompatibleDC(screen), maskDc = CreateCompatibleDC(screen);
    HBITMAP color = CreateCompatibleBitmap(screen, size, size);
    HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    HGDIOBJ oldColor = SelectObject(colorDc, color), oldMask = SelectObject(maskDc, mask);
    RECT all{0, 0, size, size};
    FillRect(colorDc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(maskDc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    TPainter painter(colorDc, maskDc, size);
    Draw(painter, picture);
    SelectObject(colorDc, oldColor);
    SelectObject(maskDc, oldMask);
    ICONINFO info{TRUE, 0, 0, mask, color};
    icon = CreateIconIndirect(&info);
    DeleteObject(color);
    DeleteObject(mask);
    DeleteDC(colorDc);
    DeleteDC(maskDc);
    ReleaseDC(nullptr, screen);
    return icon;
}

} // namespace velmora
