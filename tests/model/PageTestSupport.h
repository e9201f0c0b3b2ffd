// Helpers shared by the page-set, page and shared-point tests: hex fixtures,
// a little-endian byte builder and a plain element that draws a filled
// rectangle, so drawing order and hit tests can be seen without any real
// element kind.
#pragma once

#include "geometry/Mapping.h"
#include "model/CGraphElement.h"
#include "model/CSharedPoint.h"
#include "platform/CDC.h"
#include "tests/model/HexBytes.h"

#include <QColor>
#include <QImage>

#include <cstdint>
#include <string>

// "8A DF 56 9C ..." to bytes; whitespace and "|" separators are ignored.
inline std::string Hex(const std::string& text)
{
    return HexBytes(text.c_str());
}

inline void Put32(std::string& bytes, std::size_t offset, std::int32_t v)
{
    for (int i = 0; i < 4; ++i) bytes[offset + std::size_t(i)] = char((std::uint32_t(v) >> (8 * i)) & 0xFF);
}

// Little-endian record builder.
struct Bytes {
    std::string data;
    Bytes& i32(std::int32_t v)
    {
        for (int i = 0; i < 4; ++i) data.push_back(char((std::uint32_t(v) >> (8 * i)) & 0xFF));
        return *this;
    }
    Bytes& i16(std::int16_t v)
    {
        for (int i = 0; i < 2; ++i) data.push_back(char((std::uint16_t(v) >> (8 * i)) & 0xFF));
        return *this;
    }
    Bytes& raw(const std::string& s)
    {
        data += s;
        return *this;
    }
    // A page-set header with `pages` pages to follow.
    Bytes& header(std::int32_t version, std::int32_t pages)
    {
        i32(std::int32_t(0x9C56DF8A)).i32(version).i16(0);
        for (int k = 0; k < 17; ++k) i32(0);
        return i32(100).i32(21000).i32(29700).i32(0).i32(0).i32(0).i32(0).i32(0).i32(pages);
    }
    Bytes& plainPoint(int x, int y) { return i32(0).i32(x).i32(y); }
    Bytes& mirroredPoint(int axis1, int axis2, int source) { return i32(1).i32(axis1).i32(axis2).i32(source); }
};

// An element that fills its rectangle with one colour and is hit inside it.
class FakeElement : public CGraphElement {
public:
    FakeElement(CPage* page, int kind, int level, const CRect& rect, COLORREF colour,
                const CSharedPoint* point = nullptr)
        : CGraphElement(page, kind, level), m_rect(rect), m_colour(colour), m_point(point)
    {
    }
    CRect GetBoundRect() override
    {
        if (IsBoundsDirty()) RecalcGeometry();
        return m_rect;
    }
    void RecalcGeometry() override { ClearBoundsDirty(); }
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect&) override
    {
        ++drawCount;
        dc->FillSolidRect(ModelToDeviceRect(m_rect.left, m_rect.top, m_rect.right, m_rect.bottom,
                                            scale, originX, originY),
                          m_colour);
    }
    int ContainsPoint(int x, int y) override { return m_rect.PtInRect(CPoint(x, y)) ? 1 : 0; }
    int UsesPoint(const CSharedPoint* point) const override { return point && point == m_point ? 1 : 0; }

    int drawCount = 0;

private:
    CRect m_rect;
    COLORREF m_colour;
    const CSharedPoint* m_point;
};

inline COLORREF PixelAt(const QImage& image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return RGB(c.red(), c.green(), c.blue());
}
