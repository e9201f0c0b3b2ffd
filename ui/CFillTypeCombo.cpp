#include "ui/CFillTypeCombo.h"

#include "settings/CMessageHub.h"
#include "settings/CSystemSettings.h"

#include "res/StringTable.h"

namespace {
constexpr int kFirstKindText = 36026;
}

CFillTypeCombo::CFillTypeCombo(QWidget* parent) : CBarComboBox(parent)
{
    {
        const QSignalBlocker block(this);
        for (int kind = 0; kind < kKindCount; ++kind) addItem(LoadResString(kFirstKindText + kind), kind);
    }
    connect(this, qOverload<int>(&QComboBox::currentIndexChanged), this, &CFillTypeCombo::OnIndexChanged);
    SelectFillType(Settings().m_nFillType);
}

void CFillTypeCombo::SelectFillType(int fillType)
{
    const int index = FindData(fillType);
    if (index < 0) return;
    m_bNotify = 0;
    setCurrentIndex(index);
    m_bNotify = 1;
}

void CFillTypeCombo::OnIndexChanged(int index)
{
    if (index < 0 || !m_bNotify) return;
    Settings().m_nFillType = itemData(index).toInt();
    CMessageHub::Instance().SendFillTypeChange();
}
