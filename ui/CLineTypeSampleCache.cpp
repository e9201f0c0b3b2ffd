#include "ui/CLineTypeSampleCache.h"

#include "ui/LineTypeSample.h"

#include "settings/CSystemSettings.h"

#include <cstring>
#include <unordered_set>

namespace {

// A running hash of 64-bit words: each word moves every bit of what came
// before, so two lists that differ in one point never meet.
class Hash {
public:
    void Add(std::uint64_t word)
    {
        m_h = ((m_h << 5 | m_h >> 59) ^ word) * 0x100000001b3ULL;
    }
    void Add(int a, int b) { Add(std::uint64_t(std::uint32_t(a)) << 32 | std::uint32_t(b)); }
    void Add(double d)
    {
        std::uint64_t word = 0;
        std::memcpy(&word, &d, sizeof word);
        Add(word);
    }
    // The final mixing spreads the last words over every bit.
    std::uint64_t Value() const
    {
        std::uint64_t z = m_h + 0x9e3779b97f4a7c15ULL;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

private:
    std::uint64_t m_h = 0xcbf29ce484222325ULL;
};

void AddLineType(Hash& h, const CLineAttr& type)
{
    h.Add(type.GetKind(), type.GetWidth());
    for (int n = 1; n <= 6; n += 2) h.Add(type.GetParam(n), type.GetParam(n + 1));
}

void AddShapes(Hash& h, const CLineTypeShapeArray& shapes)
{
    h.Add(std::uint64_t(shapes.size()));
    for (const CLineTypeShape& shape : shapes) {
        h.Add(shape.GetPenWidth(), shape.IsFilled());
        h.Add(std::uint64_t(shape.GetPointCount()));
        for (const CPoint& p : shape.GetPoints()) h.Add(p.x, p.y);
    }
}

} // namespace

std::uint64_t CLineTypeSampleCache::KeyOf(const CSystemSettings& settings, int index, const QSize& size,
                                          const QColor& colour, qreal ratio)
{
    Hash h;
    h.Add(size.width(), size.height());
    h.Add(std::uint64_t(colour.rgba64()));
    h.Add(double(ratio));
    if (index < 0 || index >= int(settings.m_aLineTypes.size())) return h.Value();
    const CLineAttr& type = settings.m_aLineTypes[std::size_t(index)];
    AddLineType(h, type);
    const int preview = index - CSystemSettings::kPreviewOffset;
    // Only a custom kind draws its display copy.
    if (type.GetKind() == LINE_CUSTOM && preview >= 0 && preview < int(settings.m_aLineTypePreviews.size()))
        AddShapes(h, settings.m_aLineTypePreviews[std::size_t(preview)].GetShapes());
    return h.Value();
}

const CLineTypeSampleCache::Sample& CLineTypeSampleCache::Get(const CSystemSettings& settings, int index,
                                                              const QSize& size, const QColor& colour, qreal ratio)
{
    const std::uint64_t key = KeyOf(settings, index, size, colour, ratio);
    auto found = m_samples.find(key);
    if (found == m_samples.end())
        found = m_samples.emplace(key, Sample{key, RenderLineTypeSample(settings, index, size, colour, ratio)}).first;
    return found->second;
}

void CLineTypeSampleCache::KeepOnly(const std::vector<std::uint64_t>& keys)
{
    const std::unordered_set<std::uint64_t> kept(keys.begin(), keys.end());
    for (auto it = m_samples.begin(); it != m_samples.end();) {
        if (!kept.count(it->first)) it = m_samples.erase(it);
        else ++it;
    }
}
