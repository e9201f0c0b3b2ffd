#include "ui/CTableColorCombo.h"

#include "ui/CVEKColorDialog.h"

#include "settings/CSystemSettings.h"

#include "platform/CDC.h"

#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

constexpr int kSwatchInset = 2;
// The custom entry shows its crosses only in the dropped list, where its
// row lies this far below the top.
constexpr int kCrossesBelow = 30;

CTableColorCombo::ColorChooser& Chooser()
{
    static CTableColorCombo::ColorChooser chooser;
    return chooser;
}

bool AskColor(QWidget* parent, COLORREF initial, COLORREF& chosen)
{
    if (Chooser()) return Chooser()(parent, initial, chosen);
    CVEKColorDialog dialog(initial, CVEKColorDialog::kFrameFlags, parent);
    if (dialog.DoModal() != CVEKColorDialog::IDOK) return false;
    chosen = dialog.GetColor();
    return true;
}

void DrawSwatch(QPainter* p, const QRect& entry, COLORREF colour, const QColor& frame)
{
    const QRect swatch = entry.adjusted(kSwatchInset, kSwatchInset, -kSwatchInset - 1, -kSwatchInset - 1);
    p->setPen(QPen(frame, 1));
    p->setBrush(ToQColor(colour));
    p->drawRect(swatch);
}

// Three small crosses in the middle of the custom swatch, drawn so that
// they show on any colour.
void DrawCustomCrosses(QPainter* p, const QRect& entry)
{
    const QPoint c = entry.center();
    p->save();
    p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p->setPen(QPen(Qt::white, 1));
    for (const int dx : {-6, 0, 6}) {
        const int x = c.x() + dx;
        p->drawLine(x - 1, c.y(), x + 1, c.y());
        p->drawPoint(x, c.y() - 1);
        p->drawPoint(x, c.y() + 1);
    }
    p->restore();
}

class SwatchDelegate : public QStyledItemDelegate {
public:
    SwatchDelegate(CTableColorCombo* combo) : QStyledItemDelegate(combo), m_combo(combo) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {option.rect.width(), 18};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QPalette& pal = option.palette;
        const bool selected = option.state & QStyle::State_Selected;
        p->save();
        p->fillRect(option.rect, selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));
        DrawSwatch(p, option.rect, m_combo->EntryColor(index.row()), pal.color(QPalette::Text));
        if (index.row() == CTableColorCombo::kCustomEntry && option.rect.bottom() > kCrossesBelow)
            DrawCustomCrosses(p, option.rect);
        if (option.state & QStyle::State_HasFocus) {
            p->setPen(QPen(pal.color(QPalette::Text), 1, Qt::DotLine));
            p->setBrush(Qt::NoBrush);
            p->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        p->restore();
    }

private:
    CTableColorCombo* m_combo;
};

} // namespace

CTableColorCombo::CTableColorCombo(QWidget* parent) : QComboBox(parent)
{
    m_custom = Settings().m_crTableLineColor;
    setItemDelegate(new SwatchDelegate(this));
    setMinimumWidth(90);
    connect(this, qOverload<int>(&QComboBox::activated), this, &CTableColorCombo::OnActivated);
}

const std::array<COLORREF, CTableColorCombo::kStandardCount>& CTableColorCombo::StandardColors()
{
    static const std::array<COLORREF, kStandardCount> colours = {
        RGB(0, 0, 0),       RGB(255, 255, 255), RGB(255, 192, 192), RGB(255, 224, 192), RGB(255, 255, 192),
        RGB(192, 255, 192), RGB(192, 255, 255), RGB(192, 192, 255), RGB(255, 192, 255), RGB(224, 224, 224),
        RGB(255, 128, 128), RGB(255, 224, 128), RGB(255, 255, 128), RGB(128, 255, 128), RGB(128, 255, 255),
        RGB(128, 128, 255), RGB(255, 128, 255), RGB(192, 192, 192), RGB(255, 0, 0),     RGB(255, 192, 0),
        RGB(255, 255, 0),   RGB(0, 255, 0),     RGB(0, 255, 255),   RGB(0, 0, 255),     RGB(255, 0, 255),
        RGB(128, 128, 128), RGB(192, 0, 0),     RGB(255, 128, 0),   RGB(192, 192, 0),   RGB(0, 192, 0),
        RGB(0, 192, 192),   RGB(0, 0, 192),     RGB(192, 0, 192),   RGB(64, 64, 64),    RGB(128, 0, 0),
        RGB(128, 64, 0),    RGB(128, 128, 0),   RGB(0, 128, 0),     RGB(0, 128, 128),   RGB(0, 0, 128),
        RGB(128, 0, 128),   RGB(64, 0, 0),      RGB(128, 64, 64),   RGB(64, 64, 0),     RGB(0, 64, 0),
        RGB(0, 64, 64),     RGB(0, 0, 64),      RGB(64, 0, 64),
    };
    return colours;
}

void CTableColorCombo::AddEntries()
{
    if (count() > 0) return;
    m_settingColor = true;
    for (int i = 0; i < kEntryCount; ++i) addItem(QString());
    m_settingColor = false;
}

COLORREF CTableColorCombo::EntryColor(int index) const
{
    if (index >= 0 && index < kStandardCount) return StandardColors()[std::size_t(index)];
    if (index == kCustomEntry) return m_custom;
    return m_current;
}

void CTableColorCombo::SetColor(COLORREF colour)
{
    m_current = colour;
    int entry = kCustomEntry;
    for (int i = 0; i < kStandardCount; ++i) {
        if (StandardColors()[std::size_t(i)] == colour) {
            entry = i;
            break;
        }
    }
    if (entry == kCustomEntry) m_custom = colour;
    m_settingColor = true;
    setCurrentIndex(entry);
    m_settingColor = false;
    update();
}

void CTableColorCombo::SetColorChooser(ColorChooser chooser)
{
    Chooser() = std::move(chooser);
}

void CTableColorCombo::OnActivated(int index)
{
    if (m_settingColor) return;
    if (index >= 0 && index < kStandardCount) {
        m_current = StandardColors()[std::size_t(index)];
    } else if (index == kCustomEntry) {
        COLORREF chosen = m_current;
        if (AskColor(this, m_current, chosen)) {
            m_current = chosen;
            m_custom = chosen;
        } else {
            // The entry of the colour that stays current is shown again.
            SetColor(m_current);
        }
    }
    update();
}

void CTableColorCombo::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    DrawSwatch(&painter, field, m_current, palette().color(QPalette::Text));
}
