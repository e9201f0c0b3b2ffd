// The embedded object that the object tool has selected, as the view
// answers for it in its commands, menu and cursors.
#pragma once

class COleObjectElement;
class CRectTracker;

class COleSelection {
public:
    virtual ~COleSelection() = default;

    // Selects an element (null: none).
    virtual void SetElement(COleObjectElement* element) = 0;
    // The selected element, null when none is or it is no longer on the
    // current page.
    virtual COleObjectElement* GetElement() const = 0;
    // The frame through which a drag moves or resizes the object.
    virtual const CRectTracker& GetTracker() const = 0;
    // The selected object goes, as one undo step.
    virtual bool DeleteSelection() = 0;
    // Its data into a file its program opens.
    virtual void SaveSelectionData() = 0;
};
