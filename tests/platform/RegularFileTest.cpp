// Only regular files are taken for settings and documents; asking never
// opens what is asked about.
#include "platform/RegularFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

TEST(RegularFile, OnlyARegularFileOrALinkToOneIsRegular)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("Vek.ini"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QString pipe = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString link = dir.filePath(QStringLiteral("link"));
    ASSERT_EQ(::symlink(QFile::encodeName(file).constData(), QFile::encodeName(link).constData()), 0);
    const QString pipeLink = dir.filePath(QStringLiteral("pipe-link"));
    ASSERT_EQ(::symlink(QFile::encodeName(pipe).constData(), QFile::encodeName(pipeLink).constData()), 0);
    const QString dangling = dir.filePath(QStringLiteral("dangling"));
    ASSERT_EQ(::symlink("nothing-here", QFile::encodeName(dangling).constData()), 0);

    const struct {
        QString path;
        bool regular;
    } cases[] = {
        {file, true},      {link, true},
        {pipe, false},     {pipeLink, false},
        {dir.path(), false}, {dangling, false},
        {dir.filePath(QStringLiteral("none")), false}, {QString(), false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsRegularFile(c.path), c.regular) << qPrintable(c.path);
}
