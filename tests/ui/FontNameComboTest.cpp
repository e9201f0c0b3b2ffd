// The font-name box: a face chosen from its list or typed becomes the
// default font's face and is reported; the face the list closes on heads
// up to six recent faces; a typed name of no installed face gives way to
// the last valid one.
#include "settings/CMessageHub.h"
#include "settings/CSystemSettings.h"

#include "platform/CodePage.h"
#include "ui/CCharsetComboBox.h"
#include "ui/CFontNameCombo.h"
#include "ui/CFontNameItemDelegate.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

class FontNameComboTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Settings().SetDefaults();
        combo = std::make_unique<CFontNameCombo>();
        charsets = std::make_unique<CCharsetComboBox>();
        combo->SetCharsetCombo(charsets.get());
        QObject::connect(&CMessageHub::Instance(), &CMessageHub::FontChanged, combo.get(), [this] { ++reports; });
        combo->show();
    }

    // The installed faces, as the sorted part of the list holds them.
    QStringList SortedFaces() const
    {
        QStringList faces;
        for (int i = combo->RecentFontCount(); i < combo->count(); ++i) faces << combo->itemText(i);
        return faces;
    }
    QStringList RecentFaces() const
    {
        QStringList faces;
        for (int i = 0; i < combo->RecentFontCount(); ++i) faces << combo->itemText(i);
        return faces;
    }
    // Opens the list, highlights `row` and closes the list on it with
    // Enter, as a user does.
    void ChooseRow(int row)
    {
        combo->showPopup();
        QAbstractItemView* list = combo->view();
        ASSERT_TRUE(list->isVisible());
        list->setCurrentIndex(combo->model()->index(row, 0));
        Key(list, Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_FALSE(list->isVisible());
    }
    void ChooseFace(const QString& face)
    {
        const int row = combo->findText(face, Qt::MatchExactly);
        ASSERT_GE(row, 0) << qPrintable(face);
        ChooseRow(row);
    }
    static void Key(QWidget* w, int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &press);
    }
    void LeaveCombo()
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(combo.get(), &out);
    }
    static QString DefaultFace() { return GbkToQString(Settings().m_lfDefaultFont.FaceName()); }

    std::unique_ptr<CFontNameCombo> combo;
    std::unique_ptr<CCharsetComboBox> charsets;
    int reports = 0;
};

} // namespace

TEST_F(FontNameComboTest, AFaceChosenFromTheListIsCommittedAndHeadsTheRecentFaces)
{
    EXPECT_EQ(combo->RecentFontCount(), 0);
    EXPECT_EQ(combo->currentText(), DefaultFace());
    const QStringList faces = SortedFaces();
    ASSERT_GE(faces.size(), 2);
    const QString face = faces[1];

    ChooseFace(face);
    EXPECT_EQ(DefaultFace(), face);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(RecentFaces(), QStringList{face});
    EXPECT_EQ(combo->itemData(0).toInt(), CFontNameItemDelegate::kRecent);
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(combo->currentText(), face);
    // The sorted list keeps its entry of the face.
    EXPECT_EQ(SortedFaces(), faces);
    // The scripts follow the face (no table row: the seven of any face).
    EXPECT_EQ(charsets->count(), 7);
}

TEST_F(FontNameComboTest, SixRecentFacesAtMostTheNewestOnTop)
{
    const QStringList faces = SortedFaces();
    ASSERT_GE(faces.size(), 8);
    for (int i = 0; i < 7; ++i) ChooseFace(faces[i]);
    EXPECT_EQ(combo->RecentFontCount(), CFontNameCombo::kMaxRecentFonts);
    EXPECT_EQ(RecentFaces(), (QStringList{faces[6], faces[5], faces[4], faces[3], faces[2], faces[1]}));
    EXPECT_EQ(SortedFaces(), faces);
    EXPECT_EQ(reports, 7);

    // A recent face chosen again, from its recent entry, moves to the top
    // without a second entry.
    ChooseRow(3);
    EXPECT_EQ(RecentFaces(), (QStringList{faces[3], faces[6], faces[5], faces[4], faces[2], faces[1]}));
    EXPECT_EQ(DefaultFace(), faces[3]);
    EXPECT_EQ(reports, 8);
    // The one on top, chosen again, stays where it is.
    ChooseRow(0);
    EXPECT_EQ(RecentFaces(), (QStringList{faces[3], faces[6], faces[5], faces[4], faces[2], faces[1]}));
    EXPECT_EQ(DefaultFace(), faces[3]);
}

TEST_F(FontNameComboTest, ATypedFaceIsCommittedAndANameOfNoFaceGivesWayToTheLastValidOne)
{
    const QStringList faces = SortedFaces();
    ASSERT_GE(faces.size(), 2);
    const QString before = DefaultFace();

    combo->setEditText(QStringLiteral("No Such Face 123"));
    LeaveCombo();
    EXPECT_EQ(combo->currentText(), before);
    EXPECT_EQ(DefaultFace(), before);
    EXPECT_EQ(reports, 0);

    // An installed face typed in other letter cases and confirmed.
    combo->setEditText(faces[1].toUpper());
    Key(combo.get(), Qt::Key_Return);
    EXPECT_EQ(DefaultFace(), faces[1]);
    EXPECT_EQ(reports, 1);

    combo->setEditText(QStringLiteral("No Such Face 123"));
    Key(combo.get(), Qt::Key_Return);
    EXPECT_EQ(combo->currentText(), faces[1]);
    EXPECT_EQ(DefaultFace(), faces[1]);
    EXPECT_EQ(reports, 1);
}
