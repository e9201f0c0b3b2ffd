#include "model/ElementFactory.h"

#include "model/CClosedCurveElement.h"
#include "model/CCurveElement.h"
#include "model/CGraphElement.h"
#include "model/CImageElement.h"
#include "model/COleObjectElement.h"
#include "model/COpenCurveElement.h"
#include "model/CTextElement.h"
#include "model/CTextPairElement.h"
#include "platform/CArchive.h"

namespace {

[[noreturn]] void Refuse(const char* what)
{
    throw CArchiveError(std::string("element kind not supported: ") + what);
}

ElementMaker& TableMaker()
{
    static ElementMaker maker = nullptr;
    return maker;
}

}  // namespace

std::unique_ptr<CGraphElement> CreateElement(CPage* owner, int kind, int level, bool closed)
{
    switch (kind) {
    case ELEMENT_CURVE:
        if (closed) return std::make_unique<CClosedCurveElement>(owner, level);
        return std::make_unique<COpenCurveElement>(owner, level);
    case ELEMENT_IMAGE:
        return std::make_unique<CImageElement>(owner, level);
    case ELEMENT_TEXT:
        return std::make_unique<CTextElement>(owner, level);
    case ELEMENT_TABLE:
        // Without the table library the body cannot be read, and without a
        // length field the rest of the stream cannot be found either.
        if (!TableMaker()) Refuse("table");
        return TableMaker()(owner, level);
    case ELEMENT_TEXTPAIR:
        return std::make_unique<CTextPairElement>(owner, level);
    case ELEMENT_OLEOBJECT:
        return std::make_unique<COleObjectElement>(owner, level);
    default:
        throw CArchiveError("unknown element kind " + std::to_string(kind));
    }
}

void RegisterElementMaker(int kind, ElementMaker maker)
{
    if (kind == ELEMENT_TABLE) TableMaker() = maker;
}

int ClosedCurveFillKind(const CCurveElement& curve)
{
    if (curve.IsClosed()) return static_cast<const CClosedCurveElement&>(curve).GetFillKind();
    return 0;
}
