// A ruler beside the editing view: the model coordinates of the visible
// part of the page in the work unit, with ticks, labels and a mark that
// follows the mouse. The view tells it its scale and origin whenever they
// change and moves the mark as the mouse moves.
#pragma once

#include "geometry/RulerLabelPlaces.h"
#include "geometry/RulerTicks.h"

#include <QFontMetrics>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <climits>
#include <vector>

class CRulerBar : public QWidget {
    Q_OBJECT
public:
    // Thickness of either ruler in pixels.
    static constexpr int kThickness = 20;
    // No tracking mark.
    static constexpr int kNoMark = INT_MIN;

    CRulerBar(bool horizontal, QWidget* parent = nullptr);

    bool IsHorizontal() const { return m_bHorz != 0; }
    // The layout gives the ruler its orientation and fixes its thickness.
    QSize CalcFixedLayout(bool stretch, bool horz);

    // Scale (model units per pixel) and the model coordinate at device
    // pixel 0 along this ruler's axis.
    void SetScale(double scale, int origin);
    double GetScale() const { return m_dScale; }
    int GetOrigin() const { return m_nOrigin; }
    // The model coordinate labelled 0.
    void SetZero(int zero);
    // Moves the tracking mark to a point of the view (client pixels); the
    // horizontal ruler uses x, the vertical one y.
    void SetMarks(int x, int y);
    int GetMark() const { return IsHorizontal() ? m_ptMark.x() : m_ptMark.y(); }
    void GetSteps(double& major, double& minor) const;
    double GetMiddleStep() const { return m_steps.middle; }
    void Redraw();
    // Recomputes the tick spacings for the work unit of the settings, so
    // that labels fall on whole units about one screen centimetre apart.
    void UpdateUnitScale();

    // Model units per millimetre of the document's page set; 0 when there
    // is no document, and then the ruler shows no ticks.
    void SetUnitsPerMm(int upm);
    // Screen pixels per centimetre; taken from the screen unless set.
    void SetPixelsPerCm(double ppc);
    double PixelsPerCm() const;
    // The widget whose pixels SetScale and SetMarks speak of. Its pixel 0
    // lies wherever the layout puts it against the ruler, whatever frame
    // or corner stands between them: the ruler measures that from the
    // geometry, and again whenever either of them moves. Without one the
    // ruler's own pixel 0 is taken for the view's.
    void SetView(QWidget* view);
    // Pixel of the ruler that lies level with view pixel 0 along its axis.
    int GetDeviceOffset() const { return m_nDeviceOffset; }

    // The label font: 10 pixels high, normal weight, proportional.
    QFont LabelFont() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LevelWithView();
    void DrawBorder(QPainter& painter) const;
    void DrawTicks(QPainter& painter) const;
    void DrawTick(QPainter& painter, int pos, int length) const;
    std::vector<RulerLabelPlace> PlaceLabels(const std::vector<RulerTick>& ticks, const QFontMetrics& metrics) const;
    void DrawLabel(QPainter& painter, const RulerLabelPlace& place, const QString& label) const;
    QString LabelText(const RulerTick& tick) const;
    QString UnitName() const;
    void DrawMark(QImage& image) const;
    QRect MarkRect(int mark) const;

    int m_bHorz = 1;
    QPoint m_ptMark{kNoMark, kNoMark};
    int m_nTickShort = 3;
    int m_nTickMiddle = 6;
    int m_nTickLong = 8;
    RulerSteps m_steps;
    double m_dScale = 263.75;
    int m_nOrigin = 0;
    int m_nZero = 0;
    int m_nUnitsPerMm = 100;
    double m_dPixelsPerCm = 0.0;
    int m_nDeviceOffset = 0;
    QPointer<QWidget> m_view;
};
