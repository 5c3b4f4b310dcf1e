#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

#include "app/app_state.h"
#include "app/progress_strip.h"

namespace {

constexpr COLORREF BACKGROUND = RGB(232, 232, 232);
constexpr COLORREF FILL = RGB(33, 150, 243);
constexpr COLORREF HIGHLIGHT = RGB(100, 181, 246);
constexpr COLORREF BORDER = RGB(208, 208, 208);
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF GREY = RGB(128, 128, 128);
// Wide enough for "100%" in the bold 16-pixel font, centred on the strip.
constexpr int TEXT_HALF_WIDTH = 30;

// A 32-bit memory bitmap to paint the strip into, read back pixel by pixel.
class Canvas {
  public:
    Canvas(int width, int height) : width_(width), height_(height) {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Paints the strip over the whole canvas, or over the given rectangle of it.
    LRESULT Paint(RECT area) {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_STATIC;
        item.CtlID = IDC_PROGRESS;
        item.hDC = dc_;
        item.rcItem = area;
        GdiFlush();
        const LRESULT result = DrawProgressStrip(item);
        GdiFlush();
        return result;
    }
    LRESULT Paint() { return Paint(RECT{0, 0, width_, height_}); }

    COLORREF At(int x, int y) const {
        const DWORD bgra = static_cast<const DWORD*>(bits_)[y * width_ + x];
        return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }
    bool AnyPixel(COLORREF colour) const {
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                if (At(x, y) == colour) {
                    return true;
                }
            }
        }
        return false;
    }
    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

  private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
};

// What every pixel outside the centred text should be, for a fill of the given width.
COLORREF ExpectedOutsideText(const Canvas& canvas, int fill, int x, int y) {
    const bool frame = x == 0 || y == 0 || x == canvas.Width() - 1 || y == canvas.Height() - 1;
    if (frame) {
        return BORDER;
    }
    if (x >= fill) {
        return BACKGROUND;
    }
    return (y == 1 && canvas.Height() > 6) ? HIGHLIGHT : FILL;
}

void ExpectStrip(const Canvas& canvas, int fill) {
    const int middle = canvas.Width() / 2;
    int wrong = 0;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const bool underText = x > middle - TEXT_HALF_WIDTH && x < middle + TEXT_HALF_WIDTH &&
                                   y > 0 && y < canvas.Height() - 1;
            if (!underText && canvas.At(x, y) != ExpectedOutsideText(canvas, fill, x, y)) {
                if (++wrong <= 5) {
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex
                                  << canvas.At(x, y);
                }
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

class ProgressStripTest : public ::testing::Test {
  protected:
    void SetUp() override {
        percentFont = CreateFontW(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, L"Microsoft YaHei UI");
    }
    void TearDown() override {
        DeleteObject(percentFont);
        percentFont = nullptr;
        progressPercent = 0;
    }
};

}  // namespace

TEST_F(ProgressStripTest, NothingDoneShowsGreyZeroOnAnEmptyStrip) {
    Canvas canvas(760, 22);
    progressPercent = 0;
    EXPECT_EQ(canvas.Paint(), TRUE);
    ExpectStrip(canvas, 0);
    EXPECT_FALSE(canvas.AnyPixel(FILL));
    EXPECT_TRUE(canvas.AnyPixel(GREY));
    EXPECT_FALSE(canvas.AnyPixel(WHITE));
}

TEST_F(ProgressStripTest, TextTurnsWhiteOnlyOnceTheFillIsPastHalf) {
    Canvas canvas(760, 22);
    progressPercent = 50;  // 380 pixels: exactly half, not past it
    canvas.Paint();
    ExpectStrip(canvas, 380);
    EXPECT_TRUE(canvas.AnyPixel(GREY));
    EXPECT_FALSE(canvas.AnyPixel(WHITE));

    progressPercent = 51;  // 387 pixels
    canvas.Paint();
    ExpectStrip(canvas, 387);
    EXPECT_TRUE(canvas.AnyPixel(WHITE));
    EXPECT_FALSE(canvas.AnyPixel(GREY));
}

TEST_F(ProgressStripTest, FullStripIsBlueInsideTheFrame) {
    Canvas canvas(760, 22);
    progressPercent = 100;
    canvas.Paint();
    ExpectStrip(canvas, 760);
    EXPECT_FALSE(canvas.AnyPixel(BACKGROUND));
    EXPECT_TRUE(canvas.AnyPixel(WHITE));
}

TEST_F(ProgressStripTest, FillIsTruncatedSoOnePercentOf99PixelsIsNothing) {
    Canvas canvas(99, 22);
    progressPercent = 1;
    canvas.Paint();
    ExpectStrip(canvas, 0);
    EXPECT_FALSE(canvas.AnyPixel(FILL));
    EXPECT_FALSE(canvas.AnyPixel(HIGHLIGHT));

    progressPercent = 50;  // 49.5 truncated
    canvas.Paint();
    ExpectStrip(canvas, 49);
}

TEST_F(ProgressStripTest, HighlightLineOnlyOnStripsTallerThanSix) {
    Canvas low(200, 6);
    progressPercent = 100;
    low.Paint();
    ExpectStrip(low, 200);
    EXPECT_FALSE(low.AnyPixel(HIGHLIGHT));

    Canvas tall(200, 7);
    tall.Paint();
    ExpectStrip(tall, 200);
    EXPECT_EQ(tall.At(20, 1), HIGHLIGHT);
    EXPECT_EQ(tall.At(20, 2), FILL);
}

TEST_F(ProgressStripTest, PaintsOnlyItsOwnRectangleWhereverItIs) {
    Canvas canvas(300, 40);
    PatBlt(canvas.Dc(), 0, 0, 300, 40, BLACKNESS);
    progressPercent = 100;
    canvas.Paint(RECT{50, 10, 250, 32});
    EXPECT_EQ(canvas.At(49, 20), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(250, 20), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(100, 9), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(100, 32), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(50, 20), BORDER);
    EXPECT_EQ(canvas.At(249, 20), BORDER);
    EXPECT_EQ(canvas.At(100, 10), BORDER);
    EXPECT_EQ(canvas.At(100, 31), BORDER);
    EXPECT_EQ(canvas.At(100, 11), HIGHLIGHT);
    EXPECT_EQ(canvas.At(60, 20), FILL);
}

TEST_F(ProgressStripTest, LeavesNoGdiObjectBehindAndRestoresTheDc) {
    Canvas canvas(760, 22);
    const HGDIOBJ pen = GetCurrentObject(canvas.Dc(), OBJ_PEN);
    const HGDIOBJ font = GetCurrentObject(canvas.Dc(), OBJ_FONT);
    const HGDIOBJ brush = GetCurrentObject(canvas.Dc(), OBJ_BRUSH);
    progressPercent = 60;
    canvas.Paint();
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    // More paints than the process may hold GDI objects: a leak would make the last ones fail.
    for (int i = 0; i < 12000; ++i) {
        progressPercent = i % 101;
        canvas.Paint();
    }
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);
    EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_FONT), font);
    EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_BRUSH), brush);
    progressPercent = 60;
    canvas.Paint();
    ExpectStrip(canvas, 456);
}
