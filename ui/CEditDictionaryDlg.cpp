#include "ui/CEditDictionaryDlg.h"

#include "settings/CPhraseList.h"

#include "platform/CodePage.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "res/StringTable.h"

CEditDictionaryDlg::CEditDictionaryDlg(QWidget* parent, const QString& phraseFile)
    : QDialog(parent), m_phraseFile(phraseFile)
{
    setObjectName(QStringLiteral("dialog%1").arg(IDD));
    setWindowTitle(QStringLiteral("编辑词典"));

    m_words = new QPlainTextEdit(this);
    m_words->setObjectName(QString::number(IDC_WORDS));
    m_words->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_words->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_words->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_warning = new QLabel(this);
    m_warning->setWordWrap(true);
    m_warning->setStyleSheet(QStringLiteral("color: #b00000"));

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定(&O)"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消(&C)"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CEditDictionaryDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CEditDictionaryDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_words);
    layout->addWidget(m_warning);
    layout->addWidget(buttons);
    resize(360, 420);

    CPhraseList list;
    list.Load(m_phraseFile);
    QString words = GbkToQString(CPhraseList::ToDictionaryText(list.Phrases()));
    words.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_words->setPlainText(words);
    m_warning->setText(list.Warning());
    m_warning->setVisible(!list.Warning().isEmpty());
}

CEditDictionaryDlg::~CEditDictionaryDlg() = default;

// Saving is what the user asked for here, so a failed write is told.
void CEditDictionaryDlg::accept()
{
    QString error;
    if (!CPhraseList::SaveDictionary(m_phraseFile, QStringToGbk(m_words->toPlainText()), &error)) {
        QMessageBox::warning(this, LoadResString(Ids::IDS_APP_TITLE), error);
        return;
    }
    QDialog::accept();
}
