#include "ui/CSetCaptureSensitivityPage.h"

#include "settings/CSystemSettings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CSetCaptureSensitivityPage::CSetCaptureSensitivityPage(QWidget* parent)
    : CSettingsPage(IDD, QStringLiteral("抓取灵敏度"), parent)
{
    m_radius = Named(new QLineEdit(this), IDC_RADIUS);
    m_radius->setMaxLength(9);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("抓取半径"), this));
    row->addWidget(m_radius);
    row->addWidget(new QLabel(QStringLiteral("像素"), this));
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addStretch();

    connect(m_radius, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int v = ParseRadius(text);
        SetModified(v > 0 && v != Settings().m_nCaptureRadius);
    });
}

int CSetCaptureSensitivityPage::ParseRadius(const QString& text)
{
    // The text must read back exactly as the number it stands for: no
    // sign, no blanks, no leading zeros.
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || QString::number(v) != text) return -1;
    return v >= kMinRadius && v <= kMaxRadius ? v : -1;
}

void CSetCaptureSensitivityPage::OnInitDialog()
{
    m_radius->setText(QString::number(Settings().m_nCaptureRadius));
}

bool CSetCaptureSensitivityPage::IsUnchanged() const
{
    return m_radius->text() == QString::number(Settings().m_nCaptureRadius);
}

bool CSetCaptureSensitivityPage::OnValidate()
{
    if (IsUnchanged() || ParseRadius(m_radius->text()) > 0) return true;
    return Refuse(m_radius, QStringLiteral("抓取半径必须是%1到%2之间的整数(像素)。").arg(kMinRadius).arg(kMaxRadius));
}

void CSetCaptureSensitivityPage::OnOK()
{
    const int v = ParseRadius(m_radius->text());
    if (v > 0) Settings().m_nCaptureRadius = v;
}
