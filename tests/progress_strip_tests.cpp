#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "app/main_window.h"

namespace {

constexpr COLORREF BACKGROUND = RGB(232, 232, 232);
constexpr COLORREF FILL = RGB(33, 150, 243);
constexpr COLORREF HIGHLIGHT = RGB(100, 181, 246);
constexpr COLORREF BORDER = RGB(208, 208, 208);
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF GREY = RGB(128, 128, 128);

// A 32-bit memory bitmap to paint the strip into, read back pixel by pixel.
struct Canvas {
    Canvas(int width, int height) : width(width), height(height) {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous = SelectObject(dc, bitmap);
    }
    ~Canvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }

    // Through the window procedure, so that its dispatch to the strip is tested too.
    LRESULT Paint() {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_STATIC;
        item.CtlID = IDC_PROGRESS;
        item.hDC = dc;
        item.rcItem = RECT{0, 0, width, height};
        GdiFlush();
        const LRESULT result =
            MainWindowProc(nullptr, WM_DRAWITEM, IDC_PROGRESS, reinterpret_cast<LPARAM>(&item));
        GdiFlush();
        return result;
    }

    COLORREF At(int x, int y) const {
        const DWORD bgra = static_cast<const DWORD*>(bits)[y * width + x];
        return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }
    bool AnyPixel(COLORREF colour) const {
        for (int at = 0; at < width * height; ++at) {
            if (At(at % width, at / width) == colour) {
                return true;
            }
        }
        return false;
    }

    const int width;
    const int height;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    void* bits = nullptr;
};

// Every pixel: the frame, the fill of the given width with its highlight line, and over them the
// text in its colour, centred.
void ExpectStrip(const Canvas& canvas, int fill, const wchar_t* text, COLORREF colour) {
    Canvas expected(canvas.width, canvas.height);
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const bool frame = x == 0 || y == 0 || x == canvas.width - 1 || y == canvas.height - 1;
            SetPixel(expected.dc, x, y,
                     frame                           ? BORDER
                     : x >= fill                     ? BACKGROUND
                     : (y == 1 && canvas.height > 6) ? HIGHLIGHT
                                                     : FILL);
        }
    }
    SetBkMode(expected.dc, TRANSPARENT);
    SetTextColor(expected.dc, colour);
    SelectObject(expected.dc, percentFont);
    RECT textArea = {0, 1, canvas.width, canvas.height - 1};
    DrawTextW(expected.dc, text, -1, &textArea, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    GdiFlush();
    int wrong = 0;
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            if (canvas.At(x, y) != expected.At(x, y) && ++wrong <= 5) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex
                              << canvas.At(x, y) << ", not " << expected.At(x, y);
            }
        }
    }
    EXPECT_EQ(wrong, 0) << text;
}

class ProgressStripTest : public ::testing::Test {
  protected:
    void SetUp() override {
        percentFont = CreateFontW(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, L"Microsoft YaHei UI");
    }
    void TearDown() override { DeleteObject(percentFont); }
};

}  // namespace

// The fill is truncated, the text (the percent and its sign) turns white only once the fill is past
// half, and the highlight line shows only on strips taller than six pixels.
TEST_F(ProgressStripTest, FillAndTextColourFollowThePercent) {
    const struct {
        int width, height, percent, fill;
        const wchar_t* shown;
        COLORREF text;
    } cases[] = {
        {760, 22, 0, 0, L"0%", GREY},       {760, 22, 50, 380, L"50%", GREY},
        {760, 22, 51, 387, L"51%", WHITE},  {760, 22, 100, 760, L"100%", WHITE},
        {99, 22, 1, 0, L"1%", GREY},        {99, 22, 50, 49, L"50%", GREY},
        {200, 6, 100, 200, L"100%", WHITE}, {200, 7, 100, 200, L"100%", WHITE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.percent << "% of " << c.width << " x " << c.height);
        Canvas canvas(c.width, c.height);
        progressPercent = c.percent;
        EXPECT_EQ(canvas.Paint(), TRUE);
        ExpectStrip(canvas, c.fill, c.shown, c.text);
        EXPECT_TRUE(canvas.AnyPixel(c.text));
        EXPECT_FALSE(canvas.AnyPixel(c.text == WHITE ? GREY : WHITE));
    }
}

TEST_F(ProgressStripTest, LeavesNoGdiObjectBehindAndRestoresTheDc) {
    Canvas canvas(760, 22);
    const HGDIOBJ pen = GetCurrentObject(canvas.dc, OBJ_PEN);
    const HGDIOBJ font = GetCurrentObject(canvas.dc, OBJ_FONT);
    const HGDIOBJ brush = GetCurrentObject(canvas.dc, OBJ_BRUSH);
    progressPercent = 60;
    canvas.Paint();
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    // More paints than the process may hold GDI objects (some 10,000 on Windows, 65,536 under Wine,
    // whose object count reads 0): a leak of even one object a paint makes the last ones fail.
    for (int i = 0; i < 70000; ++i) {
        progressPercent = i % 101;
        canvas.Paint();
    }
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_FONT), font);
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_BRUSH), brush);
    progressPercent = 60;
    canvas.Paint();
    ExpectStrip(canvas, 456, L"60%", WHITE);
}
