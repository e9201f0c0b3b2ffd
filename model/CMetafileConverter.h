// Windows metafiles (WMF through libwmf, EMF through libemf2svg) turned
// into SVG text that the picture reader then rasterises with QtSvg.
//
// This file and its source include no Qt header: libwmf defines macros
// (U8, U16, ...) that break Qt's headers in the same translation unit.
#pragma once

#include <string>

class CMetafileConverter {
public:
    // Pictures are rasterised at the screen resolution the metafile's
    // physical size is meant for.
    static constexpr double kPixelsPerInch = 96.0;

    struct Result {
        std::string svg;
        // Size of the raster to render, in pixels; never above the maximum
        // side asked for (larger pictures are scaled down, keeping their
        // proportions).
        int width = 0;
        int height = 0;
        // The area of the SVG's user space that fills the raster; a zero
        // width means the SVG's own size.
        double viewX = 0.0;
        double viewY = 0.0;
        double viewWidth = 0.0;
        double viewHeight = 0.0;
    };

    // Recognise a metafile by its first bytes (placeable or plain WMF
    // header; EMF header record with its " EMF" signature).
    static bool IsWmf(const std::string& head);
    static bool IsEmf(const std::string& head);

    // False, and `out` untouched, when the bytes cannot be played or the
    // picture has no area.
    static bool WmfToSvg(const std::string& bytes, int maxSide, Result& out);
    static bool EmfToSvg(const std::string& bytes, int maxSide, Result& out);
};
