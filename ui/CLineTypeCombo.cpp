#include "ui/CLineTypeCombo.h"

#include "ui/LineTypeSample.h"

#include "settings/CMessageHub.h"
#include "settings/CSystemSettings.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPixmap>

#include <algorithm>

CLineTypeCombo::CLineTypeCombo(QWidget* parent) : CBarComboBox(parent)
{
    setIconSize(kLineTypeSampleSize);
    setMinimumContentsLength(0);
    connect(this, qOverload<int>(&QComboBox::currentIndexChanged), this, &CLineTypeCombo::OnIndexChanged);
    // In the open list the highlighted entry is the one a user means.
    view()->installEventFilter(this);
    view()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view(), &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int row = view()->indexAt(at).row();
        if (row < 0) return;
        QMenu* menu = CreateListMenu(row, view());
        menu->exec(view()->viewport()->mapToGlobal(at));
        delete menu;
    });
    SyncWithSettings();
}

void CLineTypeCombo::DrawLineTypeSample(QPainter& p, const QRect& rect, int index, const QColor& colour)
{
    ::DrawLineTypeSample(p, rect, Settings(), index, colour);
}

void CLineTypeCombo::ShowSample(int row)
{
    const CLineTypeSampleCache::Sample& sample =
        m_samples.Get(Settings(), row, kLineTypeSampleSize, palette().color(QPalette::WindowText), devicePixelRatioF());
    if (m_shownKeys[std::size_t(row)] == sample.key) return;
    m_shownKeys[std::size_t(row)] = sample.key;
    setItemIcon(row, QIcon(QPixmap::fromImage(sample.image)));
}

void CLineTypeCombo::SyncWithSettings()
{
    const CSystemSettings& s = Settings();
    const int wanted = int(s.m_aLineTypes.size());
    const QSignalBlocker block(this);
    while (count() > wanted) removeItem(count() - 1);
    while (count() < wanted) addItem(QString());
    m_shownKeys.resize(std::size_t(wanted));
    for (int i = 0; i < wanted; ++i) ShowSample(i);
    std::vector<std::uint64_t> shown;
    for (const std::optional<std::uint64_t>& key : m_shownKeys)
        if (key) shown.push_back(*key);
    m_samples.KeepOnly(shown);
    setCurrentIndex(s.m_nCurLineType >= 0 && s.m_nCurLineType < wanted ? s.m_nCurLineType : -1);
}

void CLineTypeCombo::AddLineTypeItem()
{
    const QSignalBlocker block(this);
    addItem(QString());
    m_shownKeys.resize(std::size_t(count()));
    ShowSample(count() - 1);
}

void CLineTypeCombo::OnIndexChanged(int index)
{
    if (index < 0 || index >= int(Settings().m_aLineTypes.size())) return;
    CMessageHub::Instance().SendLineTypeChange(index);
}

void CLineTypeCombo::keyReleaseEvent(QKeyEvent* event)
{
    CBarComboBox::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Delete && !DeleteLineType(currentIndex())) QApplication::beep();
}

bool CLineTypeCombo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view() && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        DeleteFromList(view()->currentIndex().row());
        return true;
    }
    return CBarComboBox::eventFilter(watched, event);
}

QMenu* CLineTypeCombo::CreateListMenu(int row, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    QAction* remove = menu->addAction(QStringLiteral("删除线型"), this, [this, row] { DeleteFromList(row); });
    remove->setEnabled(CanDelete(row));
    return menu;
}

void CLineTypeCombo::DeleteFromList(int row)
{
    if (!DeleteLineType(row)) {
        QApplication::beep();
        return;
    }
    // The highlight stays where it was, on the entry that moved up.
    view()->setCurrentIndex(model()->index(std::min(row, count() - 1), 0));
}

bool CLineTypeCombo::CanDelete(int index)
{
    const CSystemSettings& s = Settings();
    return index >= kFirstDeletable && index != s.m_nCurLineType && index < int(s.m_aLineTypes.size());
}

bool CLineTypeCombo::DeleteLineType(int b)
{
    if (!CanDelete(b)) return false;
    CSystemSettings& s = Settings();
    s.m_aLineTypes.erase(s.m_aLineTypes.begin() + b);
    const int preview = b - CSystemSettings::kPreviewOffset;
    if (preview < int(s.m_aLineTypePreviews.size()))
        s.m_aLineTypePreviews.erase(s.m_aLineTypePreviews.begin() + preview);
    if (b < s.m_nCurLineType) --s.m_nCurLineType;
    const QSignalBlocker block(this);
    removeItem(b);
    m_shownKeys.erase(m_shownKeys.begin() + b);
    for (int i = b; i < count(); ++i) ShowSample(i);
    setCurrentIndex(s.m_nCurLineType);
    return true;
}
