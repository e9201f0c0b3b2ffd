// Pictures of widgets and pages taken by the tests. With VEK_SCREENSHOT_DIR
// set they are kept there as PNG files (run under a real X server to look
// at them).
#pragma once

#include <QDir>
#include <QImage>
#include <QSet>
#include <QString>

inline void KeepScreenshot(const QImage& image, const QString& name)
{
    const QString dir = qEnvironmentVariable("VEK_SCREENSHOT_DIR");
    if (!dir.isEmpty()) image.save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

// A drawn dialog has its controls: many distinct colours, not one fill.
// Every second pixel of every second row is enough to tell.
inline int DistinctColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
    return int(colours.size());
}
