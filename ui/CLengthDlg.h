// The length prompt (dialog 134 "长度"), also the base of the circle and
// polygon radius prompts. In length mode it opens with the distance from
// the start point to the end point and, as a length is typed, moves the
// tool's end point along the start-to-end direction to that distance (to
// the right of the start when the two points coincide). In offset mode
// (the offset-line tool) it opens with the tool's distance, which may be
// negative, and hands each typed distance to the tool. Either way the tool
// hears of each change as a mouse move with Ctrl.
#pragma once

#include "ui/CValuePromptDlg.h"

#include "platform/Types.h"

class CVectorTool;

class CLengthDlg : public CValuePromptDlg {
    Q_OBJECT
public:
    static constexpr int IDD = 134;

    // Without a parent the prompt sits over the tool's view.
    explicit CLengthDlg(CVectorTool* tool, int templateId = IDD, QWidget* parent = nullptr);
    ~CLengthDlg() override;

    CVectorTool* m_pTool = nullptr;
    CPoint m_ptFrom;
    CPoint m_ptTo;
    int m_bOffsetMode = 0;

    // The end point of the preview for a length.
    CPoint PointAtLength(int length) const;

protected:
    void OnInitDialog() override;
    void OnValueChanged() override;
    LengthRule ValueRule() const override;
};
