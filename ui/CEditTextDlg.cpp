#include "ui/CEditTextDlg.h"

#include "ui/CEditDictionaryDlg.h"

#include "platform/CodePage.h"
#include "settings/CPhraseList.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

// The model keeps line breaks as the Windows edit box gave them.
std::string ToModelText(const QString& text)
{
    QString crlf = text;
    crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    crlf.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return QStringToGbk(crlf);
}

QString ToEditText(const std::string& gbk)
{
    QString text = GbkToQString(gbk);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

CEditTextDlg::CEditTextDlg(QWidget* parent, const QString& phraseFile)
    : QDialog(parent), m_phraseFile(phraseFile.isEmpty() ? CPhraseList::DefaultPath() : phraseFile)
{
    setObjectName(QStringLiteral("dialog%1").arg(IDD));
    setWindowTitle(QStringLiteral("编辑文字"));

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QString::number(IDC_TEXT));
    // Lines break where the user breaks them, as on the sheet.
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setTabChangesFocus(true);

    m_phrases = new QListWidget(this);
    m_phrases->setObjectName(QString::number(IDC_PHRASES));
    m_phrases->setSortingEnabled(true);
    connect(m_phrases, &QListWidget::itemDoubleClicked, this, &CEditTextDlg::OnPhraseDoubleClicked);

    m_dictionaryButton = new QToolButton(this);
    m_dictionaryButton->setObjectName(QString::number(IDC_PHRASE_EDITOR));
    m_dictionaryButton->setText(QStringLiteral("T"));
    connect(m_dictionaryButton, &QToolButton::clicked, this, &CEditTextDlg::EditDictionary);

    m_warning = new QLabel(this);
    m_warning->setWordWrap(true);
    m_warning->setStyleSheet(QStringLiteral("color: #b00000"));
    m_warning->hide();

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定(&O)"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消(&C)"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CEditTextDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CEditTextDlg::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("请输入文本"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("词库"), this), 0, 1);
    grid->addWidget(m_dictionaryButton, 0, 2, Qt::AlignRight);
    grid->addWidget(m_text, 1, 0);
    grid->addWidget(m_phrases, 1, 1, 1, 2);
    grid->addWidget(m_warning, 2, 0, 1, 3);
    grid->addWidget(buttons, 3, 0, 1, 3);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    resize(520, 300);

    LoadPhraseList();
}

CEditTextDlg::~CEditTextDlg() = default;

void CEditTextDlg::SetText(const std::string& gbkText)
{
    m_text->setPlainText(ToEditText(gbkText));
}

std::string CEditTextDlg::GetText() const
{
    return ToModelText(m_text->toPlainText());
}

bool CEditTextDlg::Edit(QWidget* parent, std::string& gbkText)
{
    CEditTextDlg dialog(parent);
    dialog.SetText(gbkText);
    if (dialog.exec() != QDialog::Accepted) return false;
    gbkText = dialog.GetText();
    return true;
}

void CEditTextDlg::LoadPhraseList()
{
    CPhraseList list;
    list.Load(m_phraseFile);
    m_phrases->clear();
    for (const std::string& phrase : list.Phrases()) m_phrases->addItem(GbkToQString(phrase));
    m_warning->setText(list.Warning());
    m_warning->setVisible(!list.Warning().isEmpty());
}

void CEditTextDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_text->setFocus();
    m_text->selectAll();
}

void CEditTextDlg::InsertPhrase(const QString& phrase)
{
    if (phrase.isEmpty()) return;
    m_text->insertPlainText(phrase);
    m_text->setFocus();
}

void CEditTextDlg::OnPhraseDoubleClicked(QListWidgetItem* item)
{
    if (item) InsertPhrase(item->text());
}

void CEditTextDlg::EditDictionary()
{
    CEditDictionaryDlg dialog(this, m_phraseFile);
    if (dialog.exec() == QDialog::Accepted) LoadPhraseList();
}

// A phrase list that cannot be written costs the user nothing but the
// phrase: the text still goes back to the caller.
void CEditTextDlg::accept()
{
    CPhraseList::SavePhrase(m_phraseFile, GetText());
    QDialog::accept();
}
