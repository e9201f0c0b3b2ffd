// An inert element kind: two texts with their fonts and two point lists.
// No tool creates one; it exists only when a file, a copy or a clipboard
// block holds one. It has no bounds, draws nothing, is hit by nothing, and
// its record is the element header alone.
#pragma once

#include "model/CGraphElement.h"
#include "model/CTextFont.h"

#include "platform/CList.h"

class CTextPairElement : public CGraphElement {
public:
    CTextPairElement(CPage* owner, int level) : CGraphElement(owner, ELEMENT_TEXTPAIR, level) {}

private:
    CTextFont m_text1;
    CTextFont m_text2;
    CPointList m_points1;
    CPointList m_points2;
};
