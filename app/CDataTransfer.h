// Copy and paste of drawing elements through the clipboard. Copied
// elements travel as "VEK_DATA": a whole page-set record (the same record
// as the document file's) holding one page with the copies and the shared
// points they stand on, so any copy of the program can read it back. A
// picture of the copied elements goes beside it for other programs. Plain
// text on the clipboard is pasted as a text element.
//
// Pasting reads and checks everything first (ReadPasteData) and changes
// the document only when the data is sound (InsertPasteData), so a damaged
// clipboard never leaves half an insertion or an undo step behind.
#pragma once

#include "model/CGraphElement.h"

#include "platform/Types.h"

#include <QImage>
#include <QString>

#include <memory>
#include <string>

class CPage;
class CPageSet;
class QMimeData;

class CDataTransfer {
public:
    enum PasteResult {
        PasteNothing = 0, // nothing pasteable: the document is untouched
        Pasted = 1,       // elements or a text were added
        PasteRefused = 2, // the data is damaged: the document is untouched
    };

    // The clipboard's content, read and checked but not yet inserted.
    struct PasteData {
        PasteResult result = PasteNothing;
        std::unique_ptr<CPageSet> pageSet; // copied elements
        std::string text;                  // else a text in the document's code page
        // Why the data was refused, or which characters of a text could not
        // be kept (the text is pasted with '?' in their place).
        QString message;
    };

    // The clipboard format of copied elements.
    static const QString& FormatName();

    // The Windows program placed the copied elements at the selection's
    // own positions, and the page set a record was read into had 100
    // units per millimetre; both stay so.
    static constexpr int kClipboardUnitsPerMM = 100;

    // Copies the selection into `target` (normally an empty page): the
    // shared points of the page holding the first selected element, in
    // list order, as plain points at their current positions (only those
    // inside `keepPointsIn` when it is given), then a copy of each element
    // in selection order. Points a copied curve stands on are always
    // carried, whatever the rectangle; a curve keeps its mirror source
    // only when that curve is copied too.
    static void CopySelection(CPage* target, const CElementList& selection,
                              const CRect* keepPointsIn = nullptr);
    // A page set of one page holding the selection and the points that lie
    // inside the selection's bounds enlarged by one unit. Null for an
    // empty selection.
    static std::unique_ptr<CPageSet> MakeClipboardPageSet(const CElementList& selection);
    // Puts the selection under FormatName() and its picture into
    // `dataSource`. An empty selection puts nothing.
    void CopyToClipboard(const CElementList& selection, QMimeData* dataSource) const;

    // True when the clipboard offers text, a picture or copied elements.
    BOOL CanPaste() const;
    static BOOL CanPaste(const QMimeData* data);

    // Pastes the clipboard into the page set's current page. `message`
    // receives the reason of a refusal or the characters a text lost.
    PasteResult Paste(CPageSet* pageSet, QString* message = nullptr) const;

    // Reads the clipboard's content: copied elements before anything else;
    // else a text, but only when no picture comes with it (a picture is not
    // pasted, and a text beside it is taken as its caption). Empty text is
    // nothing to paste.
    static PasteData ReadPasteData(const QMimeData* data);
    // Inserts what ReadPasteData found into the page set's current page;
    // the data's page set is consumed. Returns Pasted when something was
    // added.
    static PasteResult InsertPasteData(CPageSet* pageSet, PasteData& data);

    // A text element at the page origin in the settings' default font and
    // font colour, on the current page's highest level.
    static void PasteText(CPageSet* pageSet, const std::string& text);
    // Adds copies of all points and elements of `source` to `target`: the
    // points first (mirrored points keep their definitions), then the
    // elements with their levels and positions.
    static void InsertElements(const CPage& source, CPage* target);

    // The text in the document's code page (GBK: one byte for ASCII, two
    // for every other character it holds). Characters outside it become
    // '?'; they are listed once each in `unconvertible`.
    static std::string ToCodePage(const QString& text, QString* unconvertible);

    // The elements of the page set's current page on white, at 96 pixels
    // per inch (less for very large selections) with a border of 10
    // pixels. Null when the page has nothing with a size.
    static QImage RenderPicture(const CPageSet& pageSet);
};
