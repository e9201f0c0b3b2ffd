// One change a grading command makes to the open document, as one undo
// step: the current tool lets go of what it holds, the content is copied
// aside, and the copy becomes the undo step (marking the document
// modified) only when the command says it changed something. Whatever
// happened, the page tabs are levelled with the pages and the view redrawn
// when the step ends.
//
// Also the settings the grading tables are drawn with, the context tool
// bar's switch to the text controls, and the grading messages.
#pragma once

#include "grading/CResultStyle.h"

#include <QMessageBox>
#include <QString>

class CPageSet;
class CVEKView;
class QWidget;

class CGradingStep {
public:
    explicit CGradingStep(CVEKView* view);
    ~CGradingStep();

    CGradingStep(const CGradingStep&) = delete;
    CGradingStep& operator=(const CGradingStep&) = delete;

    CPageSet& PageSet() const { return *m_pageSet; }
    // The document changed: the held copy becomes the undo step.
    void Commit();

    // The table settings of the settings record.
    static CResultStyle StyleFromSettings();
    // In the view's window: line groups off, text groups on, the font-size
    // box showing entry `fontSizeIndex`.
    static void ShowTextControls(const CVEKView* view, int fontSizeIndex);
    // A message box with the program's title as its caption.
    static void Message(QWidget* parent, const QString& text, QMessageBox::Icon icon = QMessageBox::NoIcon);
    static void Message(QWidget* parent, int stringId, QMessageBox::Icon icon = QMessageBox::NoIcon);

private:
    CVEKView* m_view;
    CPageSet* m_pageSet;
    bool m_committed = false;
};
