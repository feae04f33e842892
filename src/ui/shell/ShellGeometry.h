#pragma once
// Sizes of the main window, the title-bar strip and the pages. The layout was designed in
// twips (15 per pixel); the constants keep those design values.
namespace rz::ui::geometry {

constexpr int twipsPerPixel = 15;
constexpr int toPixels(int twips)
{
    return (twips + twipsPerPixel / 2) / twipsPerPixel;
}
constexpr int toTwips(int pixels)
{
    return pixels * twipsPerPixel;
}

constexpr int mainWindowWidthTw = 19200;
constexpr int mainWindowHeightTw = 11520;
constexpr int titleBarWidthTw = 20000;
constexpr int titleBarHeightTw = 1300;
constexpr int pageWidthTw = 20000;
constexpr int pageHeightTw = 20000;

constexpr int mainWindowWidth = toPixels(mainWindowWidthTw);   // 1280
constexpr int mainWindowHeight = toPixels(mainWindowHeightTw); // 768
constexpr int titleBarWidth = toPixels(titleBarWidthTw);       // 1333
constexpr int titleBarHeight = toPixels(titleBarHeightTw);     // 87
constexpr int pageWidth = toPixels(pageWidthTw);               // 1333
constexpr int pageHeight = toPixels(pageHeightTw);             // 1333

// The smallest window the shell allows; pages scroll inside when they cannot fit.
constexpr int minimumWindowWidth = 1024;
constexpr int minimumWindowHeight = 600;

// The part of a page that the window shows below the title bar.
constexpr int visiblePageWidth = mainWindowWidth;
constexpr int visiblePageHeight = mainWindowHeight - titleBarHeight;

} // namespace rz::ui::geometry
