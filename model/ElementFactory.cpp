#include "model/ElementFactory.h"

#include "model/CCurveElement.h"
#include "model/CGraphElement.h"
#include "model/CTextPairElement.h"
#include "platform/CArchive.h"

// Element classes that are built; each kind is enabled by its line here.
#define VEK_HAS_OPEN_CURVE 1
#define VEK_HAS_CLOSED_CURVE 1
#define VEK_HAS_IMAGE 1
#define VEK_HAS_TEXT 1
#define VEK_HAS_OLE_OBJECT 1

#if VEK_HAS_OPEN_CURVE
#include "model/COpenCurveElement.h"
#endif
#if VEK_HAS_CLOSED_CURVE
#include "model/CClosedCurveElement.h"
#endif
#if VEK_HAS_IMAGE
#include "model/CImageElement.h"
#endif
#if VEK_HAS_TEXT
#include "model/CTextElement.h"
#endif
#if VEK_HAS_OLE_OBJECT
#include "model/COleObjectElement.h"
#endif

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
        if (closed) {
#if VEK_HAS_CLOSED_CURVE
            return std::make_unique<CClosedCurveElement>(owner, level);
#else
            Refuse("closed curve");
#endif
        }
#if VEK_HAS_OPEN_CURVE
        return std::make_unique<COpenCurveElement>(owner, level);
#else
        Refuse("open curve");
#endif
    case ELEMENT_IMAGE:
#if VEK_HAS_IMAGE
        return std::make_unique<CImageElement>(owner, level);
#else
        Refuse("picture");
#endif
    case ELEMENT_TEXT:
#if VEK_HAS_TEXT
        return std::make_unique<CTextElement>(owner, level);
#else
        Refuse("text");
#endif
    case ELEMENT_TABLE:
        // Without the table library the body cannot be read, and without a
        // length field the rest of the stream cannot be found either.
        if (!TableMaker()) Refuse("table");
        return TableMaker()(owner, level);
    case ELEMENT_TEXTPAIR:
        return std::make_unique<CTextPairElement>(owner, level);
    case ELEMENT_OLEOBJECT:
#if VEK_HAS_OLE_OBJECT
        return std::make_unique<COleObjectElement>(owner, level);
#else
        Refuse("embedded object");
#endif
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
#if VEK_HAS_CLOSED_CURVE
    if (curve.IsClosed()) return static_cast<const CClosedCurveElement&>(curve).GetFillKind();
#endif
    return 0;
}
