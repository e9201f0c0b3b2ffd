// The font-name box of the context tool bar (command ID_FONT_NAME): the
// installed font families, sorted, headed by up to six recently used faces.
// A face committed by the user (chosen from the list, or typed and
// confirmed) becomes the face of the settings' default text font and is
// reported with "VEK_SELFONTCHANGE"; a typed name that is no installed face
// is replaced by the last valid one. The face the list closes on becomes the
// newest recent face.
#pragma once

#include "ui/CBarComboBox.h"

class CCharsetComboBox;
class CFontSampleWnd;
class QTimer;

class CFontNameCombo : public CBarComboBox {
    Q_OBJECT
public:
    static constexpr int kItemHeight = 16;
    static constexpr int kMaxRecentFonts = 6;
    // How often the sample beside the open list follows the highlight.
    static constexpr int kSampleTimerMs = 500;

    explicit CFontNameCombo(QWidget* parent = nullptr);
    ~CFontNameCombo() override;

    // The script box refilled whenever the face changes.
    void SetCharsetCombo(CCharsetComboBox* charsets) { m_charsets = charsets; }
    // Puts a face at the top of the recent faces and shows it; faces that
    // are not installed are ignored.
    void AddRecentFont(const QString& face);
    // Shows the settings' face without reporting it.
    void SyncWithSettings();
    int RecentFontCount() const;

    CFontSampleWnd* SampleWindow() const { return m_sample; }
    // Shows the highlighted entry of the open list in its own face beside
    // the list (what the timer does).
    void OnSampleTimer();
    void hidePopup() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void OnFocusLost() override;

private:
    void Commit();
    void OnActivated(int index);
    void OnListClosed();
    int FindFace(const QString& face, bool recentOnly) const;

    QString m_lastValidFace;
    CCharsetComboBox* m_charsets = nullptr;
    CFontSampleWnd* m_sample = nullptr;
    QTimer* m_sampleTimer = nullptr;
};
