// The head of a drawing-library file (.vkl): what the browser paints a
// thumbnail from without building any element. Points are steps of the
// 60-step preview grid, except `bounds`, which is in page units.
//
// File layout (little-endian): DWORD magic "LKEV", DWORD version, RECT
// bounds of the drawing, then the preview section (outlines; texts from
// version 101; pictures from 104; tables from 107), then the full section
// with the shared points and the element records (CLibraryReader).
#pragma once

#include "model/CTextFont.h"
#include "platform/Types.h"

#include <array>
#include <cstdint>
#include <vector>

namespace LibraryFormat {
// "VEKL" read as one little-endian value: the bytes "LKEV" in the file.
constexpr DWORD kMagic = 0x56454B4C;
// What the writer writes and the newest the readers accept.
constexpr int kVersion = 107;
// Version gates of the preview section.
constexpr int kFirstTextVersion = 101;
constexpr int kFirstCornerVersion = 104;
constexpr int kFirstPictureVersion = 104;
constexpr int kFirstTableVersion = 107;
// The preview grid spans 0 to kGrid steps along the drawing's longer side.
constexpr int kGrid = 60;
// The picture pixel layout of a preview (32 bits, ARGB).
constexpr DWORD kPixelFormat = 0x0026200A;
// The largest side of a picture a library file may carry, in pixels.
constexpr std::int64_t kMaxPictureSide = 32767;
} // namespace LibraryFormat

struct CLibraryPreview {
    struct Text {
        // The text with its font scaled to the grid.
        CTextFont textFont;
        CPoint origin;
        int bkMode = 0;
        // Present from version 104: end of the baseline, the corner
        // opposite the origin, origin plus the text's height.
        bool hasCorners = false;
        CPoint corner2;
        CPoint corner4;
        CPoint corner3;
    };
    struct Picture {
        // Upper-left, upper-right, lower-right, lower-left.
        std::array<CPoint, 4> corners{};
        int width = 0;
        int height = 0;
    };

    int version = 0;
    CRect bounds;
    std::vector<std::vector<CPoint>> outlines;
    std::vector<Text> texts;
    std::vector<Picture> pictures;
    // Origin (top-left), top-right, bottom-right, bottom-left.
    std::vector<std::array<CPoint, 4>> tables;

    // Cleared by an outline entry without points, as the browser then also
    // shows the file's icon.
    bool outlinesSound = true;
    // The whole section was read; otherwise it ends where the file was
    // damaged, and holds what came before.
    bool complete = false;
};
