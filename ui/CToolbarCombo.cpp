#include "ui/CToolbarCombo.h"

#include "settings/CMessageHub.h"
#include "settings/CSystemSettings.h"

#include "geometry/WorkUnits.h"
#include "res/CommandIds.h"

#include <cstdlib>
#include <string>

CToolbarCombo::CToolbarCombo(QWidget* parent) : CBarComboBox(parent)
{
    connect(this, qOverload<int>(&QComboBox::activated), this, &CToolbarCombo::OnActivated);
    SyncWithSettings();
}

void CToolbarCombo::SyncWithSettings()
{
    const CSystemSettings& s = Settings();
    const QSignalBlocker block(this);
    clear();
    int a = 1, b = 2;
    for (int k = 1; k <= 10; ++k) {
        // The term read as a length in the work unit at one unit per mm.
        const int width = std::abs(ParseLength(std::to_string(a), 1, s.m_nWorkUnit));
        addItem(QString::number(k), width);
        const int next = a + b;
        a = b;
        b = next;
    }
    const bool hasType = s.m_nCurLineType >= 0 && s.m_nCurLineType < int(s.m_aLineTypes.size());
    setCurrentIndex(hasType ? FindData(s.m_aLineTypes[std::size_t(s.m_nCurLineType)].GetWidth()) : -1);
}

void CToolbarCombo::OnActivated(int index)
{
    if (index < 0) return;
    CMessageHub::Instance().SendLineParamChange(ID_LINE_WIDTH, itemData(index).toInt());
}
