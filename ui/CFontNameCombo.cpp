#include "ui/CFontNameCombo.h"

#include "ui/CCharsetComboBox.h"
#include "ui/CFontNameItemDelegate.h"
#include "ui/CFontSampleWnd.h"

#include "settings/CMessageHub.h"
#include "settings/CSystemSettings.h"

#include "platform/CodePage.h"

#include <QFocusEvent>
#include <QFontDatabase>
#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>

namespace {
constexpr int kRecent = 1;
}

CFontNameCombo::CFontNameCombo(QWidget* parent) : CBarComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    view()->setMinimumWidth(130);
    setItemDelegate(new CFontNameItemDelegate(this));
    m_sample = new CFontSampleWnd;
    m_sampleTimer = new QTimer(this);
    connect(m_sampleTimer, &QTimer::timeout, this, &CFontNameCombo::OnSampleTimer);
    m_sampleTimer->start(kSampleTimerMs);
    QStringList faces = QFontDatabase::families();
    std::sort(faces.begin(), faces.end(), [](const QString& a, const QString& b) { return a.localeAwareCompare(b) < 0; });
    faces.removeDuplicates();
    {
        const QSignalBlocker block(this);
        for (const QString& f : faces) addItem(f, 0);
    }
    connect(this, qOverload<int>(&QComboBox::activated), this, &CFontNameCombo::OnActivated);
    SyncWithSettings();
}

CFontNameCombo::~CFontNameCombo()
{
    delete m_sample;
}

void CFontNameCombo::OnSampleTimer()
{
    const QAbstractItemView* list = view();
    if (!list->isVisible()) return;
    const QModelIndex highlighted = list->currentIndex();
    if (!highlighted.isValid()) return;
    const int top = std::max(0, list->indexAt(QPoint(1, 1)).row());
    const int itemHeight = std::max(1, list->sizeHintForRow(0));
    const QPoint corner = list->mapToGlobal(QPoint(list->width(), 0));
    m_sample->ShowSample(corner.x() + 5, corner.y() + itemHeight * (highlighted.row() - top + 1),
                         highlighted.data().toString());
}

void CFontNameCombo::hidePopup()
{
    m_sample->hide();
    CBarComboBox::hidePopup();
    // The entry the list was closed on is taken after the list has gone.
    QTimer::singleShot(0, this, &CFontNameCombo::OnListClosed);
}

// The face the list closed on heads the recent faces.
void CFontNameCombo::OnListClosed()
{
    if (currentText() != m_lastValidFace) Commit();
    const int index = currentIndex();
    AddRecentFont(index >= 0 ? itemText(index) : QString());
}

void CFontNameCombo::SyncWithSettings()
{
    m_lastValidFace = GbkToQString(Settings().m_lfDefaultFont.FaceName());
    const QSignalBlocker block(this);
    setCurrentIndex(FindFace(m_lastValidFace, false));
    setEditText(m_lastValidFace);
    lineEdit()->setCursorPosition(0);
}

int CFontNameCombo::FindFace(const QString& face, bool recentOnly) const
{
    for (int i = 0; i < count(); ++i) {
        if (recentOnly && itemData(i).toInt() != kRecent) break;
        if (itemText(i).compare(face, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

int CFontNameCombo::RecentFontCount() const
{
    int n = 0;
    while (n < count() && itemData(n).toInt() == kRecent) ++n;
    return n;
}

void CFontNameCombo::AddRecentFont(const QString& face)
{
    const int listed = FindFace(face, false);
    if (face.isEmpty() || listed < 0) return;
    const QString name = itemText(listed);
    const QSignalBlocker block(this);
    const int recent = FindFace(name, true);
    if (recent >= 0) removeItem(recent);
    insertItem(0, name, kRecent);
    if (RecentFontCount() > kMaxRecentFonts) removeItem(kMaxRecentFonts);
    setCurrentIndex(0);
    m_lastValidFace = name;
}

void CFontNameCombo::OnActivated(int index)
{
    if (index < 0) return;
    Commit();
}

void CFontNameCombo::Commit()
{
    const QString typed = currentText();
    const int index = FindFace(typed, false);
    if (index < 0) {
        // No such face: back to the last one that was.
        const QSignalBlocker block(this);
        setEditText(m_lastValidFace);
        return;
    }
    const QString face = itemText(index);
    m_lastValidFace = face;
    Settings().m_lfDefaultFont.SetFaceName(QStringToGbk(face));
    if (m_charsets) m_charsets->FillCharsets();
    CMessageHub::Instance().SendFontChange();
}

void CFontNameCombo::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Commit();
        return;
    }
    CBarComboBox::keyPressEvent(event);
}

void CFontNameCombo::focusInEvent(QFocusEvent* event)
{
    CBarComboBox::focusInEvent(event);
    if (FindFace(currentText(), false) >= 0) m_lastValidFace = currentText();
}

void CFontNameCombo::OnFocusLost()
{
    // A face already committed is not reported twice.
    if (currentText() != m_lastValidFace) Commit();
}
