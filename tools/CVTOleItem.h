// The embedded-object tool: moves and resizes the embedded objects of the
// page.
#pragma once

#include "app/CVectorTool.h"

class COleObjectElement;

class CVTOleItem : public CVectorTool {
public:
    explicit CVTOleItem(CVEKView* view);
    ~CVTOleItem() override;

    // The element the tool works on next (the last inserted object, or
    // none); not owned.
    void SetElement(COleObjectElement* element) { m_pElement = element; }
    COleObjectElement* GetElement() const { return m_pElement; }

private:
    COleObjectElement* m_pElement = nullptr;
};
