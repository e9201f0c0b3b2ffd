// The page shown in the main window: the paper, its margin frame and the
// current page's elements, scaled to fit the window.
#pragma once

#include <QWidget>

class CVEKDoc;

class CPageArea : public QWidget {
    Q_OBJECT
public:
    explicit CPageArea(CVEKDoc* doc, QWidget* parent = nullptr);

    // Page units per pixel that fit the whole paper in the widget.
    double FitScale() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CVEKDoc* m_doc;
};
