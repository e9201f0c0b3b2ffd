// The drawing of a library file, read whole but standing on no page yet:
// its shared points and elements belong to this object until PlaceOn puts
// them on a page. A damaged file therefore never leaves half a drawing on
// the page: only a content that was read to its end is placed.
#pragma once

#include "platform/Types.h"

#include <cstdint>
#include <memory>
#include <vector>

class CGraphElement;
class CPage;
class CSharedPoint;

class CLibraryContent {
public:
    // Placed coordinates stay within this many page units of the page
    // origin (a kilometre): beyond it no sheet lies, and sums in drawing
    // and hit tests would come near overflowing.
    static constexpr std::int64_t kMaxPlacedCoordinate = 100000000;

    CLibraryContent();
    ~CLibraryContent();
    CLibraryContent(const CLibraryContent&) = delete;
    CLibraryContent& operator=(const CLibraryContent&) = delete;

    // The file's version and the bounds its head names (page units).
    int GetVersion() const { return m_version; }
    const CRect& GetBounds() const { return m_bounds; }
    int GetPointCount() const { return int(m_points.size()); }
    int GetElementCount() const { return int(m_elements.size()); }
    // In file order; owned by the content.
    std::vector<CGraphElement*> Elements() const;
    std::vector<CSharedPoint*> Points() const;

    // True when every position of the drawing moved by `offset` stays
    // within kMaxPlacedCoordinate.
    bool CanPlaceAt(const CPoint& offset) const;
    // Moves every position by `offset` and hands the points and elements
    // to the page (elements appended in file order, the page's highest
    // level raised to theirs). Returns the placed elements; the content is
    // empty afterwards. Nothing happens when CanPlaceAt is false.
    std::vector<CGraphElement*> PlaceOn(CPage* page, const CPoint& offset);

    // Empties the content.
    void Clear();

private:
    friend class CLibraryReader;
    friend class CLibraryFullSection;

    // The page the elements are made on while they are read: it gives
    // them their record version and their levels, and is never shown.
    CPage* Scratch() const { return m_scratch.get(); }
    void Include(const CPoint& p);

    int m_version = 0;
    CRect m_bounds;
    // Least and greatest coordinates of everything read.
    bool m_hasExtent = false;
    std::int64_t m_minX = 0;
    std::int64_t m_minY = 0;
    std::int64_t m_maxX = 0;
    std::int64_t m_maxY = 0;
    // Destroyed in reverse order: elements, points, then the scratch page.
    std::unique_ptr<CPage> m_scratch;
    std::vector<std::unique_ptr<CSharedPoint>> m_points;
    std::vector<std::unique_ptr<CGraphElement>> m_elements;
};
