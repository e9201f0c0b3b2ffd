// The page image shown scaled while a zoom goes on step after step (the
// keypad's + or - held down): each step shows at once what the view showed
// before, stretched to the new scale, and the page is painted afresh only
// when the steps have stopped for a moment. A page of many fills takes far
// longer to paint at a new scale than a key repeats.
#pragma once

#include "platform/Types.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QTimer>

class CZoomPreview : public QObject {
    Q_OBJECT
public:
    // How long after the last step the page is painted afresh.
    static constexpr int kSettleMs = 250;

    explicit CZoomPreview(QObject* parent = nullptr);

    // A zoom step from a view that showed `shown` at `scale` and `origin`
    // (model units per pixel, model point at pixel 0, 0). The image of the
    // first step of a series is kept; every step restarts the wait.
    void Step(const QImage& shown, double scale, const CPoint& origin);
    bool IsActive() const { return !m_image.isNull(); }
    // Drops the kept image (the content changed, or the wait is over).
    void End();

    // The kept image as a view of `size` pixels at `scale` and `origin`
    // shows it; where it does not reach, `background`.
    QImage Compose(const QSize& size, double scale, const CPoint& origin, const QColor& background) const;

Q_SIGNALS:
    // The steps have stopped: the view paints the page afresh.
    void Settled();

private:
    QTimer m_timer;
    QImage m_image;
    double m_scale = 1.0;
    CPoint m_origin;
};
