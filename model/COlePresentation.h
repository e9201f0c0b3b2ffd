// What can be shown of an embedded object without its program: the picture
// its program cached in the object's storage for display, its user type
// name ("Microsoft Excel 工作表" and the like) for a label, and whether it
// is a link. Read from the object's storage (the streams "\002OlePres000",
// "\001CompObj" and "\001Ole"); anything missing or unreadable is left out.
#pragma once

#include <QImage>

#include <string>

struct CCompoundEntry;

class COlePresentation {
public:
    COlePresentation() = default;
    explicit COlePresentation(const CCompoundEntry& storage);

    // The cached picture, null when there is none that can be shown.
    const QImage& GetPicture() const { return m_picture; }
    // The object's user type name as code-page bytes, else its program id,
    // else empty.
    const std::string& GetTypeName() const { return m_typeName; }
    bool IsLinked() const { return m_linked; }

    // A device-independent bitmap (header, colour table, bits) as a picture;
    // null when the bitmap is not sound.
    static QImage DecodeDib(const std::string& dib);
    // Reads one presentation stream; null when it holds no bitmap.
    static QImage DecodePresentationStream(const std::string& stream);

private:
    void ReadTypeName(const std::string& compObj);

    QImage m_picture;
    std::string m_typeName;
    bool m_linked = false;
};
