#include "shell/CSplashWnd.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPainter>
#include <QScreen>
#include <QTimer>

// The picture is compiled into a static library, whose resources register
// only when asked to.
static void InitSplashResources()
{
    Q_INIT_RESOURCE(splash);
}

bool CSplashWnd::s_bEnabled = false;
CSplashWnd* CSplashWnd::s_pCurrent = nullptr;

void CSplashWnd::EnableSplashScreen(bool enable)
{
    s_bEnabled = enable;
}

CSplashWnd* CSplashWnd::Current()
{
    return s_pCurrent;
}

QString CSplashWnd::PicturePath()
{
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Splsh.bmp"));
    if (QFileInfo::exists(beside)) return beside;
    static const bool registered = (InitSplashResources(), true);
    Q_UNUSED(registered);
    return QStringLiteral(":/splash/Splsh.bmp");
}

void CSplashWnd::ShowSplashScreen(QWidget* parent)
{
    if (!s_bEnabled || s_pCurrent != nullptr) return;
    auto* splash = new CSplashWnd(parent);
    s_pCurrent = splash;
    if (!splash->Create()) {
        delete splash;
        return;
    }
    splash->repaint();
}

bool CSplashWnd::PreTranslateAppMessage(QEvent* event)
{
    if (s_pCurrent == nullptr) return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        HideSplashScreen();
        return true;
    default:
        return false;
    }
}

void CSplashWnd::HideSplashScreen()
{
    CSplashWnd* splash = s_pCurrent;
    if (splash == nullptr) return;
    s_pCurrent = nullptr;
    qApp->removeEventFilter(splash);
    QWidget* owner = splash->parentWidget();
    splash->hide();
    splash->deleteLater();
    // The main window repaints what the splash covered.
    if (owner != nullptr) {
        owner->window()->update();
        return;
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow*>(window) != nullptr) window->update();
    }
}

CSplashWnd::CSplashWnd(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setCursor(Qt::ArrowCursor);
    m_picture.load(PicturePath());
}

CSplashWnd::~CSplashWnd()
{
    if (s_pCurrent == this) {
        s_pCurrent = nullptr;
        qApp->removeEventFilter(this);
    }
}

bool CSplashWnd::Create()
{
    // Without its picture the window would have no size: nothing is shown.
    if (m_picture.isNull()) return false;
    setFixedSize(m_picture.size());
    CenterOnOwner();
    qApp->installEventFilter(this);
    m_pTimer = new QTimer(this);
    m_pTimer->setSingleShot(true);
    connect(m_pTimer, &QTimer::timeout, this, &CSplashWnd::HideSplashScreen);
    m_pTimer->start(kShowMilliseconds);
    show();
    return true;
}

void CSplashWnd::CenterOnOwner()
{
    QRect area;
    if (parentWidget() != nullptr && parentWidget()->isVisible()) {
        area = parentWidget()->window()->frameGeometry();
    } else if (const QScreen* s = QGuiApplication::primaryScreen()) {
        area = s->availableGeometry();
    }
    QRect frame(QPoint(0, 0), m_picture.size());
    if (!area.isEmpty()) frame.moveCenter(area.center());
    move(frame.topLeft());
}

bool CSplashWnd::eventFilter(QObject* watched, QEvent* event)
{
    // A key that is a shortcut would fire before its press is delivered:
    // claim it, so that the press itself arrives and hides the splash.
    if (event->type() == QEvent::ShortcutOverride && s_pCurrent == this) {
        event->accept();
        return true;
    }
    if (PreTranslateAppMessage(event)) return true;
    return QWidget::eventFilter(watched, event);
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, m_picture);
}
