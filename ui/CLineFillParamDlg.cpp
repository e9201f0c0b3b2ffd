#include "ui/CLineFillParamDlg.h"

#include "settings/CSystemSettings.h"

#include "geometry/WorkUnits.h"
#include "res/StringTable.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

CLineFillParamDlg::CLineFillParamDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("线填充参数"));
    auto* grid = new QGridLayout;
    m_angle = new QLineEdit(this);
    m_angle->setObjectName(QStringLiteral("angle"));
    m_spacing = new QLineEdit(this);
    m_spacing->setObjectName(QStringLiteral("spacing"));
    m_unit = new QLabel(QStringLiteral("mm"), this);
    grid->addWidget(new QLabel(QStringLiteral("角度"), this), 0, 0);
    grid->addWidget(m_angle, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("度"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("间距"), this), 1, 0);
    grid->addWidget(m_spacing, 1, 1);
    grid->addWidget(m_unit, 1, 2);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CLineFillParamDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CLineFillParamDlg::reject);
}

CLineFillParamDlg::~CLineFillParamDlg() = default;

QString CLineFillParamDlg::AngleText(double angle)
{
    return QLocale::c().toString(angle, 'g', 15);
}

void CLineFillParamDlg::InitDialog()
{
    const CSystemSettings& s = Settings();
    m_shownAngle = AngleText(m_dAngle);
    m_angle->setText(m_shownAngle);
    m_unit->setText(QString::fromStdString(UnitSuffix(s.m_nWorkUnit)));
    m_spacing->setText(QString::fromStdString(
        FormatLength(m_nSpacing, m_nUnitsPerMM, s.m_nWorkUnit, s.m_nPrecision)));
}

int CLineFillParamDlg::DoModal()
{
    InitDialog();
    return exec();
}

void CLineFillParamDlg::Refuse(QLineEdit* edit, int messageId)
{
    QMessageBox::critical(this, LoadResString(Ids::IDS_APP_TITLE), LoadResString(messageId));
    edit->setFocus();
    edit->selectAll();
}

void CLineFillParamDlg::accept()
{
    bool ok = false;
    const QString angleText = m_angle->text().trimmed();
    const double angle = QLocale::c().toDouble(angleText, &ok);
    // The angle shown is taken back as it is, also one beyond a turn that
    // came from a file.
    const bool asShown = ok && angleText == m_shownAngle;
    if (!ok || !std::isfinite(angle) || (!asShown && (angle < -kMaxAngle || angle > kMaxAngle))) {
        Refuse(m_angle, kMessageAngle);
        return;
    }
    // Text that is no length reads as 0: no spacing at all, refused like
    // any spacing below one unit, which would draw the area solid.
    const int spacing = ParseLength(m_spacing->text().trimmed().toStdString(), m_nUnitsPerMM,
                                    Settings().m_nWorkUnit);
    if (spacing < 1) {
        Refuse(m_spacing, kMessageSpacing);
        return;
    }
    m_dAngle = angle;
    m_nSpacing = spacing;
    QDialog::accept();
}
