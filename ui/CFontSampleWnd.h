// The small window beside the open font list that shows the highlighted
// face written in itself, on the tool-tip background.
#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

class CFontSampleWnd : public QWidget {
    Q_OBJECT
public:
    // Pixel height of the sample text.
    static constexpr int kSampleHeight = 18;
    static constexpr int kPadding = 8;

    explicit CFontSampleWnd(QWidget* parent = nullptr);

    // Shows `text` in the face of that name with its top-left corner at the
    // screen point; the same text again changes nothing.
    void ShowSample(int x, int y, const QString& text);
    QString SampleText() const { return m_sampleText; }
    QFont SampleFont() const { return m_sampleFont; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont m_sampleFont;
    QString m_sampleText;
};
