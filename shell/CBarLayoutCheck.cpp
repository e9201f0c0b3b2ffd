#include "shell/CBarLayoutCheck.h"

#include <QDataStream>
#include <QIODevice>

#include <algorithm>
#include <iterator>
#include <limits>
#include <utility>

namespace {

// QMainWindow::saveState: an int marker and the caller's version, then the
// sections, each opened by a byte.
constexpr int kVersionMarker = 0xff;
constexpr quint8 kDockAreas = 0xfd;
constexpr quint8 kFloatingTabs = 0xf9;
constexpr quint8 kToolBarLines = 0xfc;
// Within the dock areas: a sequence of items side by side, a group of tabs,
// and a dock widget.
constexpr quint8 kSequence = 0xfc;
constexpr quint8 kTabs = 0xfa;
constexpr quint8 kDockWidget = 0xfb;

constexpr int kAreaCount = 4;
// Qt::DockWidgetArea of the four corners.
constexpr int kCornerAreas[] = {Qt::LeftDockWidgetArea, Qt::RightDockWidgetArea, Qt::TopDockWidgetArea,
                                Qt::BottomDockWidgetArea};
// Shown, and vertical (a tool bar) or floating (a dock widget).
constexpr quint8 kMostFlags = 3;

// The fewest bytes of each record, a name counted empty.
constexpr qint64 kNameBytes = 4;
constexpr qint64 kToolBarBytes = kNameBytes + 1 + 4 * 4;
constexpr qint64 kLineBytes = 4 + 4;
constexpr qint64 kDockInfoBytes = 1 + 1 + 4;
constexpr qint64 kDockItemBytes = 1 + kNameBytes + 1 + 4 * 4;
constexpr qint64 kDockAreaBytes = 4 + 2 * 4 + kDockInfoBytes;

// Reads one layout, start to end, stopping at the first fault.
class LayoutReader {
public:
    LayoutReader(const QByteArray& state, const QStringList& toolBars, const QStringList& docks)
        : m_stream(state), m_toolBars(toolBars), m_docks(docks)
    {
        m_stream.setVersion(QDataStream::Qt_5_0);
    }

    bool Read(int version)
    {
        qint32 marker = 0;
        qint32 saved = 0;
        m_stream >> marker >> saved;
        if (!Ok() || marker != kVersionMarker) return Fail(QStringLiteral("no bar layout"));
        if (saved != version) return Fail(QStringLiteral("a layout of version %1").arg(saved));
        if (Byte() != kDockAreas || !ReadDockAreas()) return Fail(QStringLiteral("no dock areas"));
        quint8 section = Byte();
        while (Ok() && section == kFloatingTabs) {
            if (!ReadFloatingTabs()) return false;
            section = Byte();
        }
        if (!Ok() || section != kToolBarLines) return Fail(QStringLiteral("no tool-bar lines"));
        if (!ReadToolBarLines()) return false;
        if (Remaining() != 0) return Fail(QStringLiteral("bytes after the layout"));
        return true;
    }

    const QString& Why() const { return m_why; }

private:
    bool ReadDockAreas()
    {
        qint32 count = 0;
        if (!ReadCount(kDockAreaBytes, kAreaCount, &count)) return false;
        bool placed[kAreaCount] = {};
        for (qint32 i = 0; i < count; ++i) {
            const qint32 area = Int();
            if (!Ok() || area < 0 || area >= kAreaCount || placed[area]) return Fail(QStringLiteral("a wrong dock area"));
            placed[area] = true;
            Ints(2);
            if (!ReadDockInfo(0)) return false;
        }
        // The central widget's size, then the corners' areas.
        Ints(2);
        for (int corner = 0; corner < 4; ++corner) {
            const qint32 area = Int();
            if (std::find(std::begin(kCornerAreas), std::end(kCornerAreas), area) == std::end(kCornerAreas))
                return Fail(QStringLiteral("a corner of no area"));
        }
        return Ok() || Fail(QStringLiteral("the dock areas cut short"));
    }

    // Floating tabs: the window's rectangle and its group of tabs.
    bool ReadFloatingTabs()
    {
        Ints(4);
        return ReadDockInfo(0);
    }

    // A sequence or group of tabs in a dock area: its items, each a dock
    // widget or a nested sequence. Nesting deeper than there are dock
    // widgets nests no dock widget.
    bool ReadDockInfo(int depth)
    {
        if (depth > m_docks.size()) return Fail(QStringLiteral("dock areas nested too deep"));
        const quint8 marker = Byte();
        if (marker != kSequence && marker != kTabs) return Fail(QStringLiteral("no dock sequence"));
        const qint32 currentTab = marker == kTabs ? Int() : -1;
        const quint8 orientation = Byte();
        if (!Ok() || (orientation != Qt::Horizontal && orientation != Qt::Vertical))
            return Fail(QStringLiteral("a dock sequence of no orientation"));
        qint32 count = 0;
        if (!ReadCount(kDockItemBytes, std::numeric_limits<qint32>::max(), &count)) return false;
        if (currentTab < -1 || currentTab >= count) return Fail(QStringLiteral("a current tab out of its group"));
        for (qint32 i = 0; i < count; ++i) {
            const quint8 item = Byte();
            if (item == kDockWidget) {
                if (!ReadName(m_docks, &m_docksSeen) || Byte() > kMostFlags) return Fail(QStringLiteral("a wrong dock widget"));
                Ints(4);
            } else if (item == kSequence) {
                Ints(4);
                if (!ReadDockInfo(depth + 1)) return false;
            } else {
                return Fail(QStringLiteral("a dock item of no kind"));
            }
        }
        return Ok() || Fail(QStringLiteral("a dock sequence cut short"));
    }

    // The lines of tool bars: each in an area, with its bars in order.
    bool ReadToolBarLines()
    {
        qint32 lines = 0;
        if (!ReadCount(kLineBytes, m_toolBars.size(), &lines)) return false;
        for (qint32 line = 0; line < lines; ++line) {
            const qint32 area = Int();
            if (!Ok() || area < 0 || area >= kAreaCount) return Fail(QStringLiteral("a tool-bar line in no area"));
            qint32 bars = 0;
            if (!ReadCount(kToolBarBytes, m_toolBars.size() - m_toolBarsSeen.size(), &bars)) return false;
            for (qint32 bar = 0; bar < bars; ++bar) {
                if (!ReadName(m_toolBars, &m_toolBarsSeen) || Byte() > kMostFlags)
                    return Fail(QStringLiteral("a wrong tool bar"));
                // Position, preferred size and the floating rectangle packed
                // in two.
                Ints(4);
            }
        }
        return Ok() || Fail(QStringLiteral("the tool-bar lines cut short"));
    }

    // A count no larger than `most`, nor than the records of `bytesEach`
    // that the bytes left can hold.
    bool ReadCount(qint64 bytesEach, qint64 most, qint32* count)
    {
        *count = Int();
        if (!Ok() || *count < 0 || *count > most || *count > Remaining() / bytesEach)
            return Fail(QStringLiteral("a count of %1 that the layout cannot hold").arg(*count));
        return true;
    }

    // A name (QString: its length in bytes, then UTF-16) among `known`, and
    // not yet in `seen`.
    bool ReadName(const QStringList& known, QStringList* seen)
    {
        const quint32 bytes = quint32(Int());
        if (!Ok() || bytes % 2 != 0 || bytes > Remaining()) return false;
        QByteArray utf16(qsizetype(bytes), Qt::Uninitialized);
        if (m_stream.readRawData(utf16.data(), int(bytes)) != int(bytes)) return false;
        QString name(qsizetype(bytes / 2), Qt::Uninitialized);
        for (quint32 i = 0; i < bytes / 2; ++i)
            name[qsizetype(i)] = QChar(quint16((quint8(utf16[2 * i]) << 8) | quint8(utf16[2 * i + 1])));
        if (!known.contains(name) || seen->contains(name)) return false;
        seen->append(name);
        return true;
    }

    quint8 Byte()
    {
        quint8 value = 0;
        m_stream >> value;
        return value;
    }
    qint32 Int()
    {
        qint32 value = 0;
        m_stream >> value;
        return value;
    }
    void Ints(int count)
    {
        for (int i = 0; i < count; ++i) Int();
    }
    qint64 Remaining() const { return m_stream.device()->bytesAvailable(); }
    bool Ok() const { return m_stream.status() == QDataStream::Ok; }
    bool Fail(QString why)
    {
        if (m_why.isEmpty()) m_why = std::move(why);
        return false;
    }

    QDataStream m_stream;
    const QStringList& m_toolBars;
    const QStringList& m_docks;
    QStringList m_toolBarsSeen;
    QStringList m_docksSeen;
    QString m_why;
};

} // namespace

CBarLayoutCheck::CBarLayoutCheck(QStringList toolBars, QStringList docks)
    : m_toolBars(std::move(toolBars)), m_docks(std::move(docks))
{
}

bool CBarLayoutCheck::IsSound(const QByteArray& state, int version, QString* why) const
{
    LayoutReader reader(state, m_toolBars, m_docks);
    const bool sound = reader.Read(version);
    if (why) *why = reader.Why();
    return sound;
}
