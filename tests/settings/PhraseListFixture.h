// The phrase list's tests, of the file and of the dialogs over it, keep
// one "Text.lst" in a temporary folder and read and write its bytes.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace phrase_list_test {

using Phrases = std::vector<std::string>;

// 袖口 and 领子 in GBK.
const std::string kCuff = "\xD0\xE4\xBF\xDA";
const std::string kCollar = "\xC1\xEC\xD7\xD3";

class PhraseListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("Text.lst"));
    }
    void WriteFile(const std::string& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
    }
    std::string ReadFile(const QString& name = QString())
    {
        QFile f(name.isEmpty() ? path : name);
        if (!f.open(QIODevice::ReadOnly)) return "<missing>";
        return f.readAll().toStdString();
    }
    QString Copy() const { return path + QStringLiteral(".damaged"); }

    QTemporaryDir dir;
    QString path;
};

} // namespace phrase_list_test
