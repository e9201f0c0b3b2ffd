#include "platform/CCompoundFile.h"

#include <gtest/gtest.h>

namespace {

CCompoundEntry Stream(const std::string& name, const std::string& data)
{
    CCompoundEntry e;
    e.name = name;
    e.data = data;
    return e;
}

CCompoundEntry SampleDocument()
{
    CCompoundEntry root;
    root.isStorage = true;
    root.children.push_back(Stream("Contents", std::string("\x8A\xDF\x56\x9C\x6B\x00\x00\x00", 8)));
    CCompoundEntry embedding;
    embedding.name = "Embedding 1";
    embedding.isStorage = true;
    embedding.classId = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    embedding.children.push_back(Stream("\001CompObj", "object bytes"));
    // Larger than the small-stream cut-off, so both allocation tables are used.
    embedding.children.push_back(Stream("CONTENTS", std::string(10000, '\x5A')));
    root.children.push_back(embedding);
    return root;
}

} // namespace

TEST(CompoundFile, TreeSurvivesBuildAndParse)
{
    std::string bytes, error;
    ASSERT_TRUE(CCompoundFile::Build(SampleDocument(), bytes, error)) << error;
    EXPECT_TRUE(CCompoundFile::HasSignature(bytes));

    CCompoundEntry root;
    ASSERT_TRUE(CCompoundFile::Parse(bytes, root, error)) << error;
    const CCompoundEntry* contents = root.Child("Contents");
    ASSERT_NE(contents, nullptr);
    EXPECT_FALSE(contents->isStorage);
    EXPECT_EQ(contents->data, SampleDocument().children[0].data);

    const CCompoundEntry* embedding = root.Child("Embedding 1");
    ASSERT_NE(embedding, nullptr);
    EXPECT_TRUE(embedding->isStorage);
    EXPECT_EQ(embedding->classId, SampleDocument().children[1].classId);
    ASSERT_NE(embedding->Child("CONTENTS"), nullptr);
    EXPECT_EQ(embedding->Child("CONTENTS")->data, std::string(10000, '\x5A'));
    EXPECT_EQ(embedding->Child("\001CompObj")->data, "object bytes");
}

TEST(CompoundFile, EmptyStreamIsKept)
{
    CCompoundEntry root;
    root.isStorage = true;
    root.children.push_back(Stream("Contents", ""));
    std::string bytes, error;
    ASSERT_TRUE(CCompoundFile::Build(root, bytes, error)) << error;
    CCompoundEntry back;
    ASSERT_TRUE(CCompoundFile::Parse(bytes, back, error)) << error;
    ASSERT_NE(back.Child("Contents"), nullptr);
    EXPECT_TRUE(back.Child("Contents")->data.empty());
}

TEST(CompoundFile, DamagedFilesAreRefused)
{
    std::string good, error;
    ASSERT_TRUE(CCompoundFile::Build(SampleDocument(), good, error));

    const std::string cases[] = {
        "",
        "not a compound file at all",
        good.substr(0, 8),
        good.substr(0, 512),
        good.substr(0, good.size() / 2),
    };
    for (const std::string& bytes : cases) {
        CCompoundEntry root;
        root.name = "untouched";
        std::string why;
        const bool ok = CCompoundFile::Parse(bytes, root, why);
        if (!ok) {
            EXPECT_FALSE(why.empty());
            EXPECT_EQ(root.name, "untouched");
        }
        // A half file may still parse when the directory sits early; what
        // matters is that it never crashes and never reads beyond its bytes.
        if (bytes.size() < 1024) EXPECT_FALSE(ok) << bytes.size();
    }
}
