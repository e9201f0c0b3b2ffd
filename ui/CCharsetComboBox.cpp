#include "ui/CCharsetComboBox.h"

#include "settings/CMessageHub.h"
#include "settings/CSystemSettings.h"

#include "platform/CodePage.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>

#include <initializer_list>
#include <utility>
#include <vector>

namespace {

using Script = std::pair<const char*, int>;

struct FaceRow {
    std::vector<const char*> faces;
    std::vector<Script> scripts;
};

const Script kWestern{"西方", 0};

const std::vector<FaceRow>& Rows()
{
    static const std::vector<FaceRow> rows = {
        {{"@宋体", "@新宋体", "宋体", "新宋体"}, {{"CHINESE_GB2312", 134}, kWestern}},
        {{"@MingLiU", "@PMingLiU", "MingLiU", "PMingLiU"}, {{"CHINESE_BIG5", 136}, kWestern}},
        {{"@仿宋_GB2312", "@黑体", "@楷体_GB2312", "仿宋_GB2312", "黑体", "楷体_GB2312"}, {{"CHINESE_GB2312", 134}}},
        {{"Modern", "Roman", "Script"}, {{"OEM/DOS", 255}}},
        {{"Kingsoft Phonetic Plain", "Marlett", "Symbol", "Webdings", "Wingdings"}, {{"符号", 2}}},
        {{"Lucida Console"}, {{"土耳其文", 162}, kWestern, {"西里尔文", 129}, {"希腊文", 161}, {"中欧", 238}}},
        {{"Lucida Sans Unicode"},
         {{"土耳其文", 162}, kWestern, {"西里尔文", 129}, {"希伯来文", 177}, {"希腊文", 161}, {"中欧", 238}}},
        {{"Myriad Condensed Web", "Myriad Web"}, {{"波罗的海文", 186}, {"土耳其文", 162}, kWestern, {"中欧", 238}}},
        {{"Microsoft Sans Serif", "Tahoma", "Times New Roman"},
         {{"阿拉伯文", 178}, {"波罗的海文", 186}, {"泰文", 222}, {"土耳其文", 162}, kWestern, {"西里尔文", 129},
          {"希伯来文", 177}, {"希腊文", 161}, {"越南文", 163}, {"中欧", 238}}},
        {{"Palatino Linotype", "Verdana"},
         {{"波罗的海文", 186}, {"土耳其文", 162}, kWestern, {"西里尔文", 129}, {"希腊文", 161}, {"越南文", 163},
          {"中欧", 238}}},
        // As the faces above but without Thai.
        {{"Arial", "Courier New"},
         {{"阿拉伯文", 178}, {"波罗的海文", 186}, {"土耳其文", 162}, kWestern, {"西里尔文", 129}, {"希伯来文", 177},
          {"希腊文", 161}, {"越南文", 163}, {"中欧", 238}}},
        {{"Arial Black", "Comic Sans MS", "Franklin Gothic Medium", "Georgia", "Impact", "Sylfaen", "Trebuchet MS"},
         {{"波罗的海文", 186}, {"土耳其文", 162}, kWestern, {"西里尔", 129}, {"希腊文", 161}, {"中欧", 238}}},
        {{"@MS Gothic", "@MS Mincho", "@MS PGothic", "@MS PMinco", "@MS UI Gothic", "MS Gothic", "MS Mincho",
          "MS PGothic", "MS PMincho", "MS UI Gothic"},
         {{"波罗的海文", 186}, {"日文", 128}, {"土耳其文", 162}, kWestern, {"西里尔文", 129}, {"希腊文", 161},
          {"中欧", 238}}},
        {{"Estrangelo Edessa", "Gautami", "Latha", "Mangal", "MV Boli", "Raavi", "Shruti", "Tunga"}, {{"其他", 1}}},
    };
    return rows;
}

const std::vector<Script>& ScriptsOf(const QString& face)
{
    static const std::vector<Script> others = {{"波罗的海文", 186}, {"韩文", 130}, {"土耳其文", 162}, kWestern,
                                               {"西里尔文", 129},   {"希腊文", 161}, {"中欧", 238}};
    for (const FaceRow& row : Rows())
        for (const char* f : row.faces)
            if (face == QString::fromUtf8(f)) return row.scripts;
    return others;
}

} // namespace

CCharsetComboBox::CCharsetComboBox(QWidget* parent) : CBarComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    view()->setMinimumWidth(80);
    connect(this, qOverload<int>(&QComboBox::activated), this, &CCharsetComboBox::StoreSelection);
    FillCharsets();
}

void CCharsetComboBox::FillCharsets()
{
    const LogFont font = Settings().m_lfDefaultFont;
    const QSignalBlocker block(this);
    clear();
    for (const Script& s : ScriptsOf(GbkToQString(font.FaceName()))) addItem(QString::fromUtf8(s.first), s.second);
    int index = FindData(font.lfCharSet);
    if (index < 0) index = FindData(kWestern.second);
    if (index < 0 && count() == 1) index = 0;
    setCurrentIndex(index);
    // Long script names show their beginning.
    if (lineEdit()) lineEdit()->setCursorPosition(0);
}

void CCharsetComboBox::StoreSelection()
{
    const int index = currentIndex();
    if (index < 0 || itemText(index) != currentText()) return;
    Settings().m_lfDefaultFont.lfCharSet = BYTE(itemData(index).toInt());
    CMessageHub::Instance().SendFontChange();
}

void CCharsetComboBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) StoreSelection();
    CBarComboBox::keyPressEvent(event);
}

void CCharsetComboBox::OnFocusLost()
{
    StoreSelection();
}
