#include "ui/CFontSizeCombo.h"

#include "settings/CMessageHub.h"
#include "settings/CSystemSettings.h"

#include "geometry/Distance.h"

#include <QKeyEvent>

#include <cstdlib>

namespace {

struct NamedSize {
    const char* text;
    int size;
};

const NamedSize kNamedSizes[] = {
    {"初号", 4200}, {"小初", 3600}, {"一号", 2625}, {"小一", 2400}, {"二号", 2175}, {"小二", 1800},
    {"三号", 1575}, {"小三", 1500}, {"四号", 1425}, {"小四", 1200}, {"五号", 1050}, {"小五", 825},
    {"六号", 750},  {"小六", 725},  {"七号", 675},  {"八号", 525},
};

const int kPointSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

} // namespace

CFontSizeCombo::CFontSizeCombo(QWidget* parent) : CBarComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    const QSignalBlocker block(this);
    for (const NamedSize& n : kNamedSizes) addItem(QString::fromUtf8(n.text), n.size);
    for (int points : kPointSizes) addItem(QString::number(points), points * 100);
    connect(this, qOverload<int>(&QComboBox::activated), this, &CFontSizeCombo::StoreSelection);

    // The text shows the last size that matches, or the whole points.
    const int v = RoundToInt(std::fabs(double(Settings().m_lfDefaultFont.lfHeight)) * kLogPixelsY / 2540.0 * 100.0);
    QString text = QString::number(v / 100);
    for (int i = 0; i < count(); ++i)
        if (std::abs(itemData(i).toInt() - v) < 5) text = itemText(i);
    setCurrentIndex(-1);
    setEditText(text);
}

int CFontSizeCombo::CurrentSizeValue()
{
    return std::abs(RoundToInt(kLogPixelsY * double(Settings().m_lfDefaultFont.lfHeight) / 25.4));
}

int CFontSizeCombo::HeightOfSize(int size)
{
    return -RoundToInt(-size / double(kLogPixelsY) * 25.4);
}

void CFontSizeCombo::SelectCurrentSize()
{
    const int v = CurrentSizeValue();
    for (int i = 0; i < count(); ++i) {
        if (std::abs(itemData(i).toInt() - v) < 5) {
            SelectQuietly(i);
            return;
        }
    }
}

void CFontSizeCombo::StoreSelection()
{
    const int index = currentIndex();
    if (index < 0 || itemText(index) != currentText()) return;
    Settings().m_lfDefaultFont.lfHeight = HeightOfSize(itemData(index).toInt());
    CMessageHub::Instance().SendFontChange();
}

void CFontSizeCombo::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) StoreSelection();
    CBarComboBox::keyPressEvent(event);
}

void CFontSizeCombo::OnFocusLost()
{
    StoreSelection();
}
