// A label of a plotter drawing: its text and where and how it was placed.
#pragma once

#include <string>

struct CHpglLabel {
    // Plot units (hundredths of a millimetre, y up) when read; the build
    // step turns them into the text's position on the drawing (y down).
    double x = 0.0;
    double y = 0.0;
    // Label origin code 1 to 19.
    int origin = 1;
    std::string text;
    // Radians, counter-clockwise.
    double direction = 0.0;
    // Character width and height in centimetres.
    double charWidth = 0.285;
    double charHeight = 0.375;
};
