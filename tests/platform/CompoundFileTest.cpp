#include "platform/CCompoundFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

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
        if (bytes.size() < 1024) {
            EXPECT_FALSE(ok) << bytes.size();
        }
    }
}

namespace {

// A file in memory that can fail after a number of bytes, and remembers
// how many stream bytes had arrived when a given moment came.
class MemorySink : public CByteSink {
public:
    bool Write(const char* data, std::size_t size) override
    {
        if (written + size > failAfter) return false;
        if (position + size > bytes.size()) bytes.resize(position + size);
        bytes.replace(position, size, data, size);
        position += size;
        written += size;
        return true;
    }
    bool Seek(std::uint64_t to) override
    {
        if (failSeek) return false;
        position = std::size_t(to);
        return true;
    }

    std::string bytes;
    std::size_t position = 0;
    std::size_t written = 0;
    std::size_t failAfter = std::size_t(-1);
    bool failSeek = false;
};

// A stream of `size` bytes whose every byte tells its place.
std::string Pattern(std::size_t size)
{
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) s[i] = char((i * 7919u) >> 3);
    return s;
}

} // namespace

TEST(CompoundWriter, StreamedFileReadsBackAsTheWholeTree)
{
    for (const std::size_t size : {std::size_t(0), std::size_t(100), std::size_t(4095), std::size_t(4096),
                                   std::size_t(3) << 20}) {
        SCOPED_TRACE(size);
        const std::string contents = Pattern(size);
        MemorySink sink;
        std::string error;
        {
            CCompoundWriter writer(sink);
            const CCompoundEntry sample = SampleDocument();
            writer.SetRootClassId({9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
            ASSERT_TRUE(writer.OpenStream("Contents"));
            // In uneven pieces, as an archive flushes its buffer.
            for (std::size_t done = 0; done < size; done += 65521)
                ASSERT_TRUE(writer.WriteStream(contents.data() + done, std::min<std::size_t>(65521, size - done)));
            ASSERT_TRUE(writer.WriteEntry(sample.children[1]));
            ASSERT_TRUE(writer.Finish(error)) << error;
        }
        CCompoundEntry root;
        ASSERT_TRUE(CCompoundFile::Parse(sink.bytes, root, error)) << error;
        const std::array<std::uint8_t, 16> rootId{9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
        EXPECT_EQ(root.classId, rootId);
        ASSERT_NE(root.Child("Contents"), nullptr);
        EXPECT_EQ(root.Child("Contents")->data, contents);
        const CCompoundEntry* embedding = root.Child("Embedding 1");
        ASSERT_NE(embedding, nullptr);
        EXPECT_EQ(embedding->classId, SampleDocument().children[1].classId);
        EXPECT_EQ(embedding->Child("CONTENTS")->data, std::string(10000, '\x5A'));

        // Read in place, from bytes the parser may change.
        CCompoundEntry again;
        std::string copy = sink.bytes;
        ASSERT_TRUE(CCompoundFile::ParseInPlace(copy.data(), copy.size(), again, error)) << error;
        EXPECT_EQ(again.Child("Contents")->data, contents);
    }
}

TEST(CompoundWriter, AStreamReachesTheSinkAsItIsWritten)
{
    // The stream is never held whole: before the file is finished, all but
    // the last block of what was written is already in the sink.
    MemorySink sink;
    CCompoundWriter writer(sink);
    ASSERT_TRUE(writer.OpenStream("Contents"));
    const std::string piece = Pattern(1 << 20);
    for (int i = 0; i < 8; ++i) ASSERT_TRUE(writer.WriteStream(piece.data(), piece.size()));
    EXPECT_GE(sink.written, (std::size_t(8) << 20) - 512);
    std::string error;
    EXPECT_TRUE(writer.Finish(error)) << error;
}

TEST(CompoundWriter, AFailingSinkEndsTheWriteWithAReason)
{
    struct Case {
        const char* name;
        std::size_t failAfter;
        bool failSeek;
    };
    const Case cases[] = {
        {"at once", 0, false},
        {"inside the stream", 300000, false},
        {"at the directory", (std::size_t(1) << 20) + 2048, false},
        {"going back for the header", std::size_t(-1), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemorySink sink;
        sink.failAfter = c.failAfter;
        sink.failSeek = c.failSeek;
        CCompoundWriter writer(sink);
        bool streamed = writer.OpenStream("Contents");
        const std::string piece = Pattern(1 << 16);
        for (int i = 0; i < 16 && streamed; ++i) streamed = writer.WriteStream(piece.data(), piece.size());
        writer.WriteEntry(SampleDocument().children[1]);
        std::string error;
        EXPECT_FALSE(writer.Finish(error));
        EXPECT_FALSE(error.empty());
    }
}
