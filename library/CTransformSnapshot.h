// What the process-drawing tool keeps of its selection while the transform
// frame is shown: the selection as it stood (curve outlines, text fonts and
// boxes, picture corners, table rectangles) and the working copy that
// follows the frame. The
// page itself changes only when the transform is applied, so leaving the
// frame in any other way (cancel, undo, another tool or page) has nothing
// to put back.
#pragma once

#include "model/CTextFont.h"
#include "platform/CList.h"
#include "platform/LogFont.h"
#include "platform/Types.h"

#include <array>
#include <vector>

class CCurveElement;
class CGraphElement;
class CImageElement;
class CTableElement;
class CPage;
class CTextElement;
class CTransformFrame;

class CTransformSnapshot {
public:
    struct Curve {
        CCurveElement* element = nullptr;
        CPointList saved;
        CPointList working;
    };
    struct Text {
        CTextElement* element = nullptr;
        CTextFont textFont;
        int bkMode = 0;
        LogFont savedFont;
        LogFont workingFont;
        // Origin, corner 2, corner 4, corner 3.
        std::array<CPoint, 4> saved{};
        std::array<CPoint, 4> working{};
    };
    struct Picture {
        CImageElement* element = nullptr;
        // Upper-left, upper-right, lower-right, lower-left.
        std::array<CPoint, 4> saved{};
        std::array<CPoint, 4> working{};
    };
    // Tables are moved and scaled, never turned.
    struct Table {
        CTableElement* element = nullptr;
        CPoint savedOrigin;
        CRect savedRect;
        CPoint workingOrigin;
        CRect workingRect;
    };

    // Takes the selection as it stands and returns the union of its
    // elements' bounds.
    CRect Take(const std::vector<CGraphElement*>& selection);
    void Clear();
    bool IsEmpty() const { return m_curves.empty() && m_texts.empty() && m_pictures.empty() && m_tables.empty(); }

    // The working copy for the frame.
    void Follow(const CTransformFrame& frame);
    // Makes the working copy the drawing: the selected curves leave their
    // mirror links, their shared points move (each once), the texts take
    // their working fonts and boxes, the pictures their working corners,
    // the tables their working place and size (a table that cannot take the
    // size is only moved), and every element of the page but the texts
    // is measured again.
    void Apply(CPage* page, const CTransformFrame& frame);

    const std::vector<Curve>& Curves() const { return m_curves; }
    const std::vector<Text>& Texts() const { return m_texts; }
    const std::vector<Picture>& Pictures() const { return m_pictures; }
    const std::vector<Table>& Tables() const { return m_tables; }
private:
    static void SetCorners(CImageElement* picture, const std::array<CPoint, 4>& corners);
    static std::array<CPoint, 4> CornersOf(const CImageElement* picture);
    void UnlinkMirrors(CPage* page);

    std::vector<Curve> m_curves;
    std::vector<Text> m_texts;
    std::vector<Picture> m_pictures;
    std::vector<Table> m_tables;
};
