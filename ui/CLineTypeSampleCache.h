// The pictures of the line-type box, kept by what they show. The tool bar
// regroups at every tool change and asks again for every line type's
// picture; only a picture whose line type, display copy, size, colour or
// pixel ratio changed is drawn again. A key reads the line type once,
// a few sums a point, and drawing happens only for a key not yet kept.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

#include <cstdint>
#include <unordered_map>
#include <vector>

class CSystemSettings;

class CLineTypeSampleCache {
public:
    struct Sample {
        std::uint64_t key = 0;
        QImage image;
    };

    // The picture of line type `index` of `settings` (RenderLineTypeSample),
    // drawn when none of the same key is kept.
    const Sample& Get(const CSystemSettings& settings, int index, const QSize& size, const QColor& colour,
                      qreal ratio);
    // Forgets every picture whose key is not among `keys`.
    void KeepOnly(const std::vector<std::uint64_t>& keys);

    // What determines the picture of line type `index`: its kind, width
    // and parameters, the display copy of a custom kind, the size, the
    // colour and the pixel ratio.
    static std::uint64_t KeyOf(const CSystemSettings& settings, int index, const QSize& size, const QColor& colour,
                               qreal ratio);

private:
    std::unordered_map<std::uint64_t, Sample> m_samples;
};
