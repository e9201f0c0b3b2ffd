// Helpers of the drawing-library tests: hex fixtures, a page to build
// drawings on, and small element makers.
#pragma once

#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CImageElement.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "model/CTextElement.h"
#include "platform/CDC.h"
#include "tables/CTableElement.h"

#include <QImage>

#include <cctype>
#include <initializer_list>
#include <string>
#include <vector>

namespace libtest {

// Bytes from a hex text; anything but hex digits is ignored, so fixtures can
// be grouped by field.
inline std::string Hex(const char* text)
{
    std::string out;
    int high = -1;
    for (const char* p = text; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (!std::isxdigit(c)) continue;
        const int v = std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10;
        if (high < 0) {
            high = v;
        } else {
            out.push_back(char(high * 16 + v));
            high = -1;
        }
    }
    return out;
}

inline std::string ToHex(const std::string& bytes)
{
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
        if (i % 4 == 3) out.push_back(' ');
    }
    return out;
}

const std::string kSong = "\xCB\xCE\xCC\xE5"; // 宋体 in GBK

inline LogFont Font(int height, int width = 0)
{
    LogFont lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    lf.SetFaceName(kSong);
    return lf;
}

// A page set of one page to build drawings on.
class Sheet {
public:
    Sheet() { pages.InsertPageAtFront(); }
    CPage* Page() const { return pages.GetPageAt(0); }

    CSharedPoint* Point(int x, int y)
    {
        auto* p = new CSharedPoint(Page(), x, y);
        Page()->AddPoint(p);
        return p;
    }
    COpenCurveElement* Open(std::initializer_list<CSharedPoint*> points, COLORREF colour = 0,
                            int width = 10, int level = 0)
    {
        CCurveNodeList nodes;
        for (CSharedPoint* p : points) nodes.AddTail(new CCurveNode(p, NODE_CORNER));
        auto* curve = new COpenCurveElement(Page(), level, CLineAttr(width), colour, nodes, 0, 600, 53.0, 0,
                                            600, 53.0);
        Page()->AddElement(curve);
        return curve;
    }
    CClosedCurveElement* Closed(std::initializer_list<CSharedPoint*> points, COLORREF colour = 0,
                                int width = 10)
    {
        CCurveNodeList nodes;
        for (CSharedPoint* p : points) nodes.AddTail(new CCurveNode(p, NODE_CORNER));
        auto* curve = new CClosedCurveElement(Page(), 0, CLineAttr(width), colour, nodes, nullptr);
        Page()->AddElement(curve);
        return curve;
    }
    // "AB" in red, 宋体, transparent, with its box set to the given corners.
    CTextElement* Text(const CPoint& origin, const CPoint& corner2, const CPoint& corner4,
                       const CPoint& corner3, int height = 400)
    {
        auto* text =
            new CTextElement(Page(), 0, CTextFont("AB", Font(height), RGB(255, 0, 0)), origin.x, origin.y, TRANSPARENT);
        text->SetCorner2(corner2.x, corner2.y);
        text->SetCorner4(corner4.x, corner4.y);
        text->SetCorner3(corner3.x, corner3.y);
        Page()->AddElement(text);
        return text;
    }
    // Two pixels: opaque 0x112233 and half-transparent 0x445566.
    CImageElement* Picture(const CPoint& ul, const CPoint& ur, const CPoint& lr, const CPoint& ll)
    {
        auto* picture = new CImageElement(Page(), 0);
        QImage image(2, 1, QImage::Format_ARGB32);
        image.setPixel(0, 0, qRgba(0x11, 0x22, 0x33, 0xFF));
        image.setPixel(1, 0, qRgba(0x44, 0x55, 0x66, 0x80));
        const CPixelBlock pixels(image);
        picture->SetBitmapCopy(&pixels);
        picture->SetUpperLeft(ul.x, ul.y);
        picture->SetUpperRight(ur.x, ur.y);
        picture->SetLowerRight(lr.x, lr.y);
        picture->SetLowerLeft(ll.x, ll.y);
        picture->InvalidateBounds();
        Page()->AddElement(picture);
        return picture;
    }

    // Two rows of three cells filling the rectangle, with a text in the
    // first cell.
    CTableElement* Table(const CRect& rect, int level = 0)
    {
        auto* table = new CTableElement(Page(), level, 2, 3, RGB(0, 0, 0), 35, 25, CRect(50, 50, 50, 50), 4,
                                        Font(-300), RGB(0, 0, 0), RGB(255, 255, 255), rect);
        table->SetCellText(1, 1, "AB");
        Page()->AddElement(table);
        return table;
    }

    CPageSet pages;
};

} // namespace libtest
