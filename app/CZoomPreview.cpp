#include "app/CZoomPreview.h"

#include <QPainter>
#include <QTransform>

CZoomPreview::CZoomPreview(QObject* parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kSettleMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        End();
        Q_EMIT Settled();
    });
}

void CZoomPreview::Step(const QImage& shown, double scale, const CPoint& origin)
{
    if (!IsActive() && !shown.isNull() && scale > 0) {
        m_image = shown;
        m_scale = scale;
        m_origin = origin;
    }
    if (IsActive()) m_timer.start();
}

void CZoomPreview::End()
{
    m_timer.stop();
    m_image = QImage();
}

QImage CZoomPreview::Compose(const QSize& size, double scale, const CPoint& origin, const QColor& background) const
{
    QImage view(size, QImage::Format_RGB32);
    view.fill(background);
    if (!IsActive() || !(scale > 0)) return view;
    // A model point at pixel d of the kept image lies at
    // (kept origin - origin) / scale + d x kept scale / scale now.
    QPainter painter(&view);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const double k = m_scale / scale;
    painter.setTransform(QTransform(k, 0, 0, k, (double(m_origin.x) - origin.x) / scale,
                                    (double(m_origin.y) - origin.y) / scale));
    painter.drawImage(QPointF(0, 0), m_image);
    return view;
}
