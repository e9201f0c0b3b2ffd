// Reading the picture files a user can place on a sheet or use as a fill
// texture: every format of the picture file dialog. BMP, JPEG, GIF, PNG
// and TIFF are decoded by Qt's image readers; WMF and EMF metafiles are
// played into SVG and rasterised at the screen resolution they are meant
// for, as the pixels of a picture are all a document keeps.
//
// The format is told by the file's content, not by its name. Pixels come
// as they are in the file: no embedded colour profile and no orientation
// tag is applied.
#pragma once

#include "model/CPixelBlock.h"
#include "res/StringTable.h"

#include <QString>

#include <stdexcept>
#include <string>

// A picture file that cannot be turned into pixels. Carries the string
// table message the user is shown.
class CPictureFileError : public std::runtime_error {
public:
    CPictureFileError(const std::string& reason, int messageId)
        : std::runtime_error(reason), m_messageId(messageId)
    {
    }
    int MessageId() const { return m_messageId; }

private:
    int m_messageId;
};

class CPictureFile {
public:
    // "打开文件失败 ！": shown when a picture file is refused.
    static constexpr int RefusalMessageId = Ids::IDS_CANNOT_OPEN;
    // The longest side a stored pixel block is read back with; a larger
    // picture would make a document that cannot be opened again.
    static constexpr int kMaxSide = 32767;
    // Metafiles are rasterised at most this large on their longer side
    // (scaled down, keeping proportions, beyond it).
    static constexpr int kMaxMetafileSide = 4096;

    // Decodes the file into `pixels`. False, with `pixels` emptied and the
    // reason in `reason` (when given), when it cannot be read.
    static bool Read(const QString& path, CPixelBlock& pixels, std::string* reason = nullptr);
    // The same, throwing CPictureFileError when the file cannot be read.
    static CPixelBlock ReadOrThrow(const QString& path);
};
