// A measured value that a tool shows beside the cursor while it works: a
// short text anchored at a document point. The anchor follows the drawing;
// the text keeps its pixel size at every zoom.
#pragma once

#include <string>
#include <utility>

class CMeasurePrompt {
public:
    CMeasurePrompt() = default;
    CMeasurePrompt(int px, int py, std::string label) : x(px), y(py), text(std::move(label)) {}

    // text = label, the length in the settings' work unit and precision,
    // then the unit's suffix ("L=12.5cm"). The anchor is left alone.
    // `unitsPerMM` is the page set's.
    void SetValue(const std::string& label, int length, int unitsPerMM);

    bool operator==(const CMeasurePrompt& o) const { return x == o.x && y == o.y && text == o.text; }

    // Top-left corner of the text, document coordinates (0.01 mm).
    int x = 0;
    int y = 0;
    // GBK bytes, as every text the drawing context writes.
    std::string text;
};
