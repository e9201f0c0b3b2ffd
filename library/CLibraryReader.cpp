#include "library/CLibraryReader.h"

#include "library/CLibraryPreviewReader.h"

#include "model/CClosedCurveElement.h"
#include "model/CImageElement.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CSharedPoint.h"
#include "model/CTextElement.h"
#include "tables/CTableElement.h"
#include "platform/CArchive.h"

#include <QFile>
#include <QFileInfo>

namespace {

using namespace LibraryFormat;

constexpr std::size_t kPointBytes = 8;
// An element record holds at least its kind and one more field.
constexpr std::size_t kMinElementRecord = 8;

std::int32_t ReadCount(CArchive& ar, std::size_t itemBytes)
{
    std::int32_t count = 0;
    ar >> count;
    if (count < 0) throw CArchiveError("negative count");
    ar.RequireItems(count, itemBytes);
    return count;
}

} // namespace

// Reads the full section into the content's own points and elements.
class CLibraryFullSection {
public:
    CLibraryFullSection(CArchive& ar, CLibraryContent& content) : m_ar(ar), m_content(content) {}

    void Read()
    {
        ReadPoints();
        ReadElements();
    }

private:
    void ReadPoints()
    {
        const std::int32_t count = ReadCount(m_ar, kPointBytes);
        m_table.reserve(std::size_t(count));
        m_content.m_points.reserve(std::size_t(count));
        for (std::int32_t i = 0; i < count; ++i) {
            CPoint p;
            m_ar >> p;
            auto point = std::make_unique<CSharedPoint>(m_content.Scratch(), p.x, p.y);
            m_table.push_back(point.get());
            m_content.m_points.push_back(std::move(point));
            m_content.Include(p);
        }
    }

    void ReadElements()
    {
        const std::int32_t count = ReadCount(m_ar, kMinElementRecord);
        m_content.m_elements.reserve(std::size_t(count));
        for (std::int32_t i = 0; i < count; ++i) m_content.m_elements.push_back(ReadElement());
    }

    std::unique_ptr<CGraphElement> ReadElement()
    {
        std::int32_t kind = 0;
        m_ar >> kind;
        CPage* page = m_content.Scratch();
        const int level = page->GetMaxLevel();
        const int version = m_content.m_version;
        switch (kind) {
        case ELEMENT_CURVE: {
            std::int32_t closed = 0;
            m_ar >> closed;
            if (closed) {
                auto curve = std::make_unique<CClosedCurveElement>(page, level);
                curve->LoadFromLibrary(m_ar, m_table, version);
                return curve;
            }
            auto curve = std::make_unique<COpenCurveElement>(page, level);
            curve->LoadFromLibrary(m_ar, m_table, version);
            return curve;
        }
        case ELEMENT_TEXT: {
            auto text = std::make_unique<CTextElement>(page, level);
            text->LoadFromLibrary(m_ar, version);
            m_content.Include(text->GetOrigin());
            m_content.Include(text->GetCorner2());
            m_content.Include(text->GetCorner4());
            m_content.Include(text->GetCorner3());
            return text;
        }
        case ELEMENT_IMAGE: {
            auto picture = std::make_unique<CImageElement>(page, level);
            picture->LoadFromLibrary(m_ar, version);
            m_content.Include(picture->GetUpperLeft());
            m_content.Include(picture->GetUpperRight());
            m_content.Include(picture->GetLowerRight());
            m_content.Include(picture->GetLowerLeft());
            return picture;
        }
        case ELEMENT_TABLE: {
            auto table = std::make_unique<CTableElement>(page, level);
            table->LoadFromLibrary(m_ar, version);
            const CRect r = table->GetBoundRect();
            m_content.Include(table->GetOrigin());
            m_content.Include(r.TopLeft());
            m_content.Include(r.BottomRight());
            return table;
        }
        default:
            // Without a length field the rest of the file cannot be found.
            throw CArchiveError("library element of unknown kind " + std::to_string(kind));
        }
    }

    CArchive& m_ar;
    CLibraryContent& m_content;
    std::vector<CSharedPoint*> m_table;
};

CLibraryReader::Result CLibraryReader::ReadBytes(const std::string& bytes, int baseLevel, CLibraryContent& out)
{
    out.Clear();
    if (std::int64_t(bytes.size()) > kMaxFileBytes) return Result::Damaged;
    CArchive ar(bytes);
    try {
        std::uint32_t magic = 0;
        if (bytes.size() < 4) return Result::NotLibrary;
        ar >> magic;
        if (magic != kMagic) return Result::NotLibrary;
        std::uint32_t version = 0;
        ar >> version;
        if (version > std::uint32_t(kVersion)) return Result::Unsupported;
        out.m_version = int(version);
        ar >> out.m_bounds;
        out.Scratch()->SetMaxLevel(baseLevel);
        CLibraryPreviewReader::PassOver(ar, out.m_version);
        CLibraryFullSection(ar, out).Read();
        // The last element ends the file: bytes after it mean a count was
        // lowered and part of the drawing would be left out unseen.
        if (ar.BytesLeft() != 0) throw CArchiveError("bytes after the last library element");
    } catch (const CArchiveError&) {
        out.Clear();
        return Result::Damaged;
    }
    return Result::Ok;
}

CLibraryReader::Result CLibraryReader::ReadFile(const QString& path, int baseLevel, CLibraryContent& out)
{
    out.Clear();
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) return Result::CannotOpen;
    if (info.size() > kMaxFileBytes) return Result::Damaged;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return Result::CannotOpen;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return Result::CannotOpen;
    return ReadBytes(std::string(bytes.constData(), std::size_t(bytes.size())), baseLevel, out);
}
