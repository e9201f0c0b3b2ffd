#include "model/CMetafileConverter.h"

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kEmrHeader = 1;
constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kWmfHeaderSize = 18;
constexpr std::size_t kEmfHeaderSize = 88;
// The header's description length and offset.
constexpr std::size_t kEmfDescriptionFields = 60;
constexpr double kHundredthsMmPerInch = 2540.0;

std::uint32_t Le32(const std::string& b, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + std::size_t(i)]);
    return v;
}

std::int32_t LeI32(const std::string& b, std::size_t at)
{
    return static_cast<std::int32_t>(Le32(b, at));
}

std::uint16_t Le16(const std::string& b, std::size_t at)
{
    return std::uint16_t(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}

// The raster size for a picture of w x h pixels, scaled down to fit
// maxSide; false when the picture has no area.
bool FitSize(double w, double h, int maxSide, int& outW, int& outH)
{
    if (!std::isfinite(w) || !std::isfinite(h) || !(w >= 0.5) || !(h >= 0.5) || maxSide < 1)
        return false;
    const double factor = std::min(1.0, double(maxSide) / std::max(w, h));
    outW = std::clamp(int(std::lround(w * factor)), 1, maxSide);
    outH = std::clamp(int(std::lround(h * factor)), 1, maxSide);
    return true;
}

bool IsPlainWmfHeader(const std::string& head, std::size_t at)
{
    if (head.size() < at + kWmfHeaderSize) return false;
    const std::uint16_t type = Le16(head, at);
    const std::uint16_t headerWords = Le16(head, at + 2);
    const std::uint16_t version = Le16(head, at + 4);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

// One libwmf player with the SVG device; everything it allocated goes
// with it.
class WmfPlayer {
public:
    WmfPlayer()
    {
        wmfAPI_Options options{};
        options.function = wmf_svg_function;
        // Damaged or unusual records are skipped rather than ending the
        // picture, and nothing is printed on the terminal.
        const unsigned long flags =
            WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        if (wmf_api_create(&m_api, flags, &options) != wmf_E_None) Release();
    }
    ~WmfPlayer() { Release(); }
    WmfPlayer(const WmfPlayer&) = delete;
    WmfPlayer& operator=(const WmfPlayer&) = delete;

    bool Play(std::string& bytes, int maxSide, CMetafileConverter::Result& out)
    {
        if (!m_api) return false;
        if (wmf_mem_open(m_api, reinterpret_cast<unsigned char*>(bytes.data()), long(bytes.size()))
            != wmf_E_None)
            return false;
        m_open = true;

        wmfD_Rect bbox{};
        if (wmf_scan(m_api, 0, &bbox) != wmf_E_None) return false;
        unsigned int w = 0;
        unsigned int h = 0;
        if (wmf_display_size(m_api, &w, &h, CMetafileConverter::kPixelsPerInch,
                             CMetafileConverter::kPixelsPerInch)
            != wmf_E_None)
            return false;
        int width = 0;
        int height = 0;
        if (!FitSize(w, h, maxSide, width, height)) return false;

        static char description[] = "picture";
        wmf_svg_t* device = WMF_SVG_GetData(m_api);
        device->out = wmf_stream_create(m_api, nullptr);  // into memory
        if (!device->out) return false;
        device->Description = description;
        device->bbox = bbox;
        device->width = unsigned(width);
        device->height = unsigned(height);
        // Embedded bitmaps go into the SVG text instead of files beside it.
        device->flags |= WMF_SVG_INLINE_IMAGES;

        const bool played = wmf_play(m_api, 0, &bbox) == wmf_E_None;
        char* text = nullptr;
        unsigned long length = 0;
        wmf_stream_destroy(m_api, device->out, &text, &length);
        device->out = nullptr;
        if (!played || !text || length == 0) return false;

        out = CMetafileConverter::Result();
        out.svg.assign(text, length);
        out.width = width;
        out.height = height;
        return true;
    }

private:
    void Release()
    {
        if (!m_api) return;
        if (m_open) wmf_mem_close(m_api);
        wmf_api_destroy(m_api);
        m_api = nullptr;
        m_open = false;
    }

    wmfAPI* m_api = nullptr;
    bool m_open = false;
};

// The picture's frame (0.01 mm) in the SVG that libemf2svg writes: its
// user space is the recording device's units moved so that the bounds
// start at 0, 0.
struct EmfGeometry {
    double pixelWidth = 0.0;
    double pixelHeight = 0.0;
    double viewX = 0.0;
    double viewY = 0.0;
    double viewWidth = 0.0;
    double viewHeight = 0.0;
};

bool ReadEmfGeometry(const std::string& b, EmfGeometry& g)
{
    const double boundsLeft = LeI32(b, 8);
    const double boundsTop = LeI32(b, 12);
    const double frameLeft = LeI32(b, 24);
    const double frameTop = LeI32(b, 28);
    const double frameWidth = double(LeI32(b, 32)) - frameLeft;
    const double frameHeight = double(LeI32(b, 36)) - frameTop;
    // The frame is the picture's size; without one there is no picture.
    if (!(frameWidth > 0 && frameHeight > 0)) return false;

    // Device units per 0.01 mm of the recording device; a header without a
    // usable device is taken as a screen at the usual resolution.
    const double screen = CMetafileConverter::kPixelsPerInch / kHundredthsMmPerInch;
    const double devicePixelsX = LeI32(b, 72);
    const double devicePixelsY = LeI32(b, 76);
    const double deviceMmX = LeI32(b, 80);
    const double deviceMmY = LeI32(b, 84);
    const double unitsX = devicePixelsX > 0 && deviceMmX > 0 ? devicePixelsX / (deviceMmX * 100.0) : screen;
    const double unitsY = devicePixelsY > 0 && deviceMmY > 0 ? devicePixelsY / (deviceMmY * 100.0) : screen;

    g.viewX = frameLeft * unitsX - boundsLeft;
    g.viewY = frameTop * unitsY - boundsTop;
    g.viewWidth = frameWidth * unitsX;
    g.viewHeight = frameHeight * unitsY;
    g.pixelWidth = frameWidth * screen;
    g.pixelHeight = frameHeight * screen;
    return true;
}

} // namespace

bool CMetafileConverter::IsWmf(const std::string& head)
{
    if (head.size() >= kPlaceableSize + kWmfHeaderSize && Le32(head, 0) == kPlaceableKey)
        return IsPlainWmfHeader(head, kPlaceableSize);
    return IsPlainWmfHeader(head, 0);
}

bool CMetafileConverter::IsEmf(const std::string& head)
{
    return head.size() >= 44 && Le32(head, 0) == kEmrHeader && Le32(head, 40) == kEmfSignature;
}

bool CMetafileConverter::WmfToSvg(const std::string& bytes, int maxSide, Result& out)
{
    if (!IsWmf(bytes)) return false;
    std::string data = bytes;  // the player reads from a buffer it may not own const
    // The player allocates the header's largest record size up front; a
    // damaged header could ask for gigabytes. No record is longer than the
    // file, so that bound changes nothing for a sound one.
    const std::size_t header = Le32(data, 0) == kPlaceableKey ? kPlaceableSize : 0;
    const std::uint32_t fileWords = std::uint32_t(std::min<std::size_t>(data.size() / 2, UINT32_MAX));
    if (Le32(data, header + 12) > fileWords) {
        for (int i = 0; i < 4; ++i) data[header + 12 + std::size_t(i)] = char((fileWords >> (8 * i)) & 0xFF);
    }
    WmfPlayer player;
    return player.Play(data, maxSide, out);
}

bool CMetafileConverter::EmfToSvg(const std::string& bytes, int maxSide, Result& out)
{
    if (bytes.size() < kEmfHeaderSize || !IsEmf(bytes)) return false;
    EmfGeometry geometry;
    if (!ReadEmfGeometry(bytes, geometry)) return false;
    int width = 0;
    int height = 0;
    if (!FitSize(geometry.pixelWidth, geometry.pixelHeight, maxSide, width, height)) return false;

    std::string data = bytes;
    // The converter reads the header's description string wherever its
    // offset and length point, past the end of a damaged file too; the
    // picture does not need it.
    for (std::size_t at = kEmfDescriptionFields; at < kEmfDescriptionFields + 8; ++at) data[at] = '\0';
    static char noNamespace[] = "";
    generatorOptions options{};
    options.nameSpace = noNamespace;
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    char* text = nullptr;
    std::size_t length = 0;
    const int converted = emf2svg(data.data(), data.size(), &text, &length, &options);
    if (!converted || !text || length == 0) {
        std::free(text);
        return false;
    }
    out = Result();
    out.svg.assign(text, length);
    std::free(text);
    out.width = width;
    out.height = height;
    out.viewX = geometry.viewX;
    out.viewY = geometry.viewY;
    out.viewWidth = geometry.viewWidth;
    out.viewHeight = geometry.viewHeight;
    return true;
}
