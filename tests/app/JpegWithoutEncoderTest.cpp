// Without a JPEG encoder among the image plugins, writing a page as a JPEG
// says so and leaves no file. The encoder is looked up by name alone; the
// plugins are hidden before the first image is written, so this test keeps
// a suite of its own, which runs in a process of its own.
#include "app/CPagePrinter.h"

#include "res/StringTable.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace {

TEST(JpegWithoutEncoder, IsRefusedWithItsMessageAndWritesNothing)
{
    QCoreApplication::setLibraryPaths({});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.jpg"));
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QString error;
    EXPECT_FALSE(CPagePrinter::WriteJpegFile(image, path, &error));
    EXPECT_EQ(error, QString::fromUtf8("找不到JPEG图像编码器。"));
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
