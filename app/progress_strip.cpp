#include "app/progress_strip.h"

#include <cstdint>
#include <string>

#include "app/app_state.h"
#include "hashing/decimal_text.h"

namespace {

constexpr COLORREF BACKGROUND_COLOUR = RGB(232, 232, 232);
constexpr COLORREF FILL_COLOUR = RGB(33, 150, 243);
constexpr COLORREF HIGHLIGHT_COLOUR = RGB(100, 181, 246);
constexpr COLORREF BORDER_COLOUR = RGB(208, 208, 208);
constexpr COLORREF TEXT_ON_FILL_COLOUR = RGB(255, 255, 255);
constexpr COLORREF TEXT_COLOUR = RGB(128, 128, 128);
constexpr int MIN_HEIGHT_FOR_HIGHLIGHT = 7;
constexpr int HIGHLIGHT_ROWS = 2;

void FillWithColour(HDC dc, const RECT& area, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

void Stroke(HDC dc, int fromX, int fromY, int toX, int toY) {
    MoveToEx(dc, fromX, fromY, nullptr);
    LineTo(dc, toX, toY);
}

// LineTo leaves out its end point, so these four strokes cover exactly the outermost pixels.
void DrawFrame(HDC dc, const RECT& area) {
    HPEN pen = CreatePen(PS_SOLID, 1, BORDER_COLOUR);
    HGDIOBJ previousPen = SelectObject(dc, pen);
    Stroke(dc, area.left, area.top, area.right, area.top);
    Stroke(dc, area.left, area.top, area.left, area.bottom);
    Stroke(dc, area.left, area.bottom - 1, area.right, area.bottom - 1);
    Stroke(dc, area.right - 1, area.top, area.right - 1, area.bottom);
    SelectObject(dc, previousPen);
    DeleteObject(pen);
}

std::wstring PercentText(std::int32_t percent) {
    const std::int64_t value = percent;
    return (value < 0 ? L"-" : L"") + DecimalText(value < 0 ? -value : value) + L"%";
}

void DrawPercentText(HDC dc, const RECT& area, COLORREF colour) {
    const std::wstring text = PercentText(progressPercent);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    HGDIOBJ previousFont = SelectObject(dc, percentFont);
    RECT textArea = {area.left, area.top + 1, area.right, area.bottom - 1};
    DrawTextW(dc, text.c_str(), -1, &textArea, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, previousFont);
}

}  // namespace

LRESULT DrawProgressStrip(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT& area = item.rcItem;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;

    FillWithColour(dc, area, BACKGROUND_COLOUR);
    const auto fill =
        static_cast<std::int32_t>(static_cast<std::int64_t>(progressPercent) * width / 100);
    if (fill > 0) {
        FillWithColour(dc, RECT{area.left, area.top, area.left + fill, area.bottom}, FILL_COLOUR);
        if (height >= MIN_HEIGHT_FOR_HIGHLIGHT) {
            FillWithColour(dc,
                           RECT{area.left, area.top, area.left + fill, area.top + HIGHLIGHT_ROWS},
                           HIGHLIGHT_COLOUR);
        }
    }
    DrawFrame(dc, area);
    DrawPercentText(dc, area, fill > width / 2 ? TEXT_ON_FILL_COLOUR : TEXT_COLOUR);
    return TRUE;
}
