// The picture shown while the program starts: a borderless window that goes
// after three quarters of a second, or at the first key or mouse press,
// which it swallows so that it does not reach the main window.
#pragma once

#include <QImage>
#include <QWidget>

class QTimer;

class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShowMilliseconds = 750;

    // Follows the command line's show-splash flag.
    static void EnableSplashScreen(bool enable);
    // Shows the splash unless it is disabled, already up, or its picture
    // cannot be read. The window is painted before the call returns.
    static void ShowSplashScreen(QWidget* parent = nullptr);
    // True when the event is a key or mouse press that hid the splash
    // (the caller drops it); false for any other event or without a splash.
    static bool PreTranslateAppMessage(QEvent* event);
    static void HideSplashScreen();
    // The splash on the screen, or null.
    static CSplashWnd* Current();

    // "Splsh.bmp" beside the program when there is one, so that it can be
    // replaced without rebuilding; else the built-in picture.
    static QString PicturePath();

    const QImage& Picture() const { return m_picture; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    explicit CSplashWnd(QWidget* parent);
    ~CSplashWnd() override;
    bool Create();
    void CenterOnOwner();

    QImage m_picture;
    QTimer* m_pTimer = nullptr;

    static bool s_bEnabled;
    static CSplashWnd* s_pCurrent;
};
