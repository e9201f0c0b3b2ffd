// The selection messages of the tool-bar controls and pickers. The pickers
// and combo boxes of the tool bars report a choice here; the editing view
// listens and applies it to the settings record and the current tool.
// Every connection is direct, so a Send* call returns only after the view
// has handled the choice, exactly like a message that is sent, not posted.
#pragma once

#include "platform/Types.h"

#include <QObject>

class CMessageHub : public QObject {
    Q_OBJECT
public:
    // The names under which the choices travel between the controls and the
    // view; tools and logs refer to them by these names.
    static constexpr const char* APN_SELCHANGE = "APN_SELCHANGE";
    static constexpr const char* CPN_SELCHANGE = "CPN_SELCHANGE";
    static constexpr const char* LT_SELCHANGE = "LT_SELCHANGE";
    static constexpr const char* VEK_LINEPARAMCHANGE = "VEK_LINEPARAMCHANGE";
    static constexpr const char* VEK_SELFILLTYPECHANGE = "VEK_SELFILLTYPECHANGE";
    static constexpr const char* VEK_SELFONTCHANGE = "VEK_SELFONTCHANGE";
    static constexpr const char* VEK_TFSELCHANGE = "VEK_TFSELCHANGE";

    // The program's one hub (controls and view meet here without knowing
    // each other).
    static CMessageHub& Instance();

    // "APN_SELCHANGE": an arrowhead type for the start (ID_START_ARROW) or
    // end (ID_END_ARROW).
    void SendArrowTypeChange(int arrowType, int commandId);
    // "CPN_SELCHANGE": a colour for the picker of commandId (ID_LINE_COLOR,
    // ID_FONT_COLOR, ID_CELL_COLOR for the cell background,
    // ID_GRADIENT_START and ID_GRADIENT_END).
    void SendColorChange(COLORREF color, int commandId);
    // "LT_SELCHANGE": the index of the chosen line type.
    void SendLineTypeChange(int index);
    // "VEK_LINEPARAMCHANGE": a line parameter (commandId ID_LINE_WIDTH, the
    // dashes and gaps ID_PARAM_1 to ID_PARAM_6, ID_OFFSET_DISTANCE, the
    // arrow angles ID_START_ARROW_ANGLE and ID_END_ARROW_ANGLE) with its
    // value. Returns the listener's answer: 1 taken,
    // 0 refused (also 0 when nobody listens).
    int SendLineParamChange(int commandId, int value);
    // "VEK_SELFILLTYPECHANGE": the fill type in the settings record changed.
    void SendFillTypeChange();
    // "VEK_SELFONTCHANGE": the default text font in the settings changed.
    void SendFontChange();
    // "VEK_TFSELCHANGE": a text alignment 0-8.
    void SendTextAlignmentChange(int alignment);

Q_SIGNALS:
    void ArrowTypeChanged(int arrowType, int commandId);
    void ColorChanged(COLORREF color, int commandId);
    void LineTypeChanged(int index);
    // The last connected slot's return value is the answer of the send.
    int LineParamChanged(int commandId, int value);
    void FillTypeChanged();
    void FontChanged();
    void TextAlignmentChanged(int alignment);

private:
    CMessageHub() = default;
};
