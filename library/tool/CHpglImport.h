// File > 输入HPGL文件: reads a plotter file and adds its drawing to the
// current page of a document, at a tenth of its plotted size with its
// top-left corner at the page origin, as one undo step.
#pragma once

#include "library/CHpglElementBuilder.h"

#include <QString>

class CVEKDoc;

class CHpglImport {
public:
    struct Result {
        // 0 when the drawing was added; otherwise the string to show, and
        // the document is as it was.
        int messageId = 0;
        int curves = 0;
        int texts = 0;
    };

    static Result ImportFile(CVEKDoc& doc, const QString& path);
    // The lines, colours and font the settings give imported drawings.
    static HpglElementStyle StyleFromSettings();
};
