// How plotter bytes are read: numbers, escape sequences of the printer
// languages around plotter data, label terminators, comments, and the
// input that must be refused.
#include "HpglTestSupport.h"

#include "library/CHpglScanner.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct PenCase {
    const char* name;
    std::string input;
    double x;
    double y;
};

} // namespace

// Where the pen ends tells how the numbers were read.
TEST(HpglScanner, NumbersAreSignedDecimals)
{
    const PenCase cases[] = {
        {"negative and decimal", "IN;PU-12.5,3;", -12.5, 3},
        {"plus sign and leading point", "IN;PU+7,.5;", 7, 0.5},
        {"a sign starts the next number", "IN;PU10-5;", 10, -5},
        {"a second point starts the next number", "IN;PU1.5.25;", 1.5, 0.25},
        {"blanks and line breaks separate", "IN;PU 10 ,\r\n 20 ;", 10, 20},
        {"a sign without digits is no number", "IN;PU--5,3;", -5, 3},
        {"printer-driver relative moves", "IN;PU100,100;PR;PU-95,90;", 5, 190},
        {"lower-case mnemonics", "in;pu3,4;", 3, 4},
        {"no terminator at the end", "IN;PU7,8", 7, 8},
    };
    for (const PenCase& c : cases) {
        const HpglState s = Interpret(c.input);
        EXPECT_DOUBLE_EQ(s.penPosition.x, c.x) << c.name;
        EXPECT_DOUBLE_EQ(s.penPosition.y, c.y) << c.name;
    }
}

TEST(HpglScanner, AnOverLongDigitRunMakesItsCommandInvalid)
{
    const std::string digits(40, '9');
    const HpglState s = Interpret("IN;PU5,6;PU" + digits + ",1;PD;PA" + digits + ",0;");
    EXPECT_EQ(s.penPosition, CDoublePoint(5.0, 6.0));
    EXPECT_TRUE(s.primitives.empty());
    // A long number within the bound is read.
    const HpglState fine = Interpret("IN;PU2400.0000000900000000000,1;");
    EXPECT_DOUBLE_EQ(fine.penPosition.x, 2400.00000009);
}

// Each escape is passed over by its own grammar, and the command after it
// is read whole.
TEST(HpglScanner, EscapeSequencesArePassedOverByTheirGrammar)
{
    const PenCase cases[] = {
        {"device control with parameters", "\x1b.(;\x1b.I81;;17:\x1b.N;19:IN;PU5,6;", 5, 6},
        {"device control without parameters", "\x1b.YIN;PU5,6;", 5, 6},
        {"two-byte reset", "\x1b" "EIN;PU5,6;", 5, 6},
        {"enter plotter language", "\x1b%-1BIN;PU5,6;", 5, 6},
        {"job language lines", "\x1b%-12345X@PJL JOB\r\n@PJL ENTER LANGUAGE=HPGL2\r\n\x1b%0BIN;PU5,6;", 5, 6},
        {"combined printer escape", "\x1b*c100a200BIN;PU5,6;", 5, 6},
        {"font selection", "\x1b(s1p10v0s0b4148TIN;PU5,6;", 5, 6},
        {"binary data of an escape", std::string("IN;\x1b*b4W\x01PU9PU5,6;"), 5, 6},
        {"printer-language text between switches", "IN;\x1b%0APU1,1;text PD\x1b%0BPU5,6;", 5, 6},
        {"an escape ends the command before it", "IN;PU5,6\x1b%0BPR;", 5, 6},
    };
    for (const PenCase& c : cases) {
        const HpglState s = Interpret(c.input);
        EXPECT_DOUBLE_EQ(s.penPosition.x, c.x) << c.name;
        EXPECT_DOUBLE_EQ(s.penPosition.y, c.y) << c.name;
        EXPECT_TRUE(s.primitives.empty()) << c.name;
    }
}

TEST(HpglScanner, LabelsEndAtTheirTerminator)
{
    struct Case {
        const char* name;
        std::string input;
        std::vector<std::string> labels;
    } const cases[] = {
        {"default terminator, line breaks kept", "IN;LBAB\r\nC\x03PU5,6;", {"AB\r\nC"}},
        {"one label at the end of the file", "IN;LBXYZ\x03", {"XYZ"}},
        {"label without terminator at the end", "IN;LBXYZ", {"XYZ"}},
        {"own terminator, not shown", "IN;DT#,1;LBabc#LBdef#", {"abc", "def"}},
        {"own terminator, shown", "IN;DT#,0;LBabc#", {"abc#"}},
        {"terminator without mode is not shown", "IN;DT@;LBabc@", {"abc"}},
        {"DT; brings back the default", "IN;DT#;DT;LBa#b\x03", {"a#b"}},
        {"IN brings back the default", "DT#;IN;LBa#b\x03", {"a#b"}},
        {"quoted comment", "IN;CO\"LBnot\x03\";LByes\x03", {"yes"}},
        {"comment without quotes runs to ;", "IN;COThis LBnot\x03;LBok\x03", {"ok"}},
        {"empty label adds nothing", "IN;LB\x03LBx\x03", {"x"}},
        {"other control characters dropped", "IN;LBa\x0e" "b\x0f\x03", {"ab"}},
    };
    for (const Case& c : cases) {
        const HpglState s = Interpret(c.input);
        ASSERT_EQ(s.labels.size(), c.labels.size()) << c.name;
        for (std::size_t i = 0; i < c.labels.size(); ++i) EXPECT_EQ(s.labels[i].text, c.labels[i]) << c.name;
    }
}

// A caption longer than a label holds keeps what fits; the rest of its
// text, up to whatever ends the label, is passed over: read as commands,
// the "IN" of "printing" reset the scaling and every line after it landed
// elsewhere.
TEST(HpglScanner, ALabelPastItsLongestSkipsTheRestOfItsText)
{
    const std::string head(CHpglScanner::kMaxLabelChars - 10, '.');
    const std::string caption = head + " notes for printing in the cutting room: PD;PA0,0;SC0,1,0,1;";
    const std::string kept = caption.substr(0, CHpglScanner::kMaxLabelChars);
    struct Case {
        const char* name;
        std::string setup;
        std::string end;
        std::string text;
    } const cases[] = {
        {"default terminator", "", "\x03", kept},
        {"own terminator", "DT#,1;", "#", kept},
        {"own terminator, shown, finds no room", "DT#,0;", "#", kept},
        {"an escape ends the label", "", "\x1b" "E", kept},
    };
    for (const Case& c : cases) {
        const HpglState s = Interpret("IN;SC0,100,0,100;" + c.setup + "PU2,3;LB" + caption + c.end +
                                      "PU5,6;PD;PR10,0;");
        ASSERT_EQ(s.labels.size(), 1u) << c.name;
        EXPECT_EQ(s.labels[0].text, c.text) << c.name;
        EXPECT_DOUBLE_EQ(s.scaleX, 400.0) << c.name << ": no command of the caption ran";
        ASSERT_EQ(s.primitives.size(), 1u) << c.name;
        EXPECT_EQ(s.primitives[0].PointAt(1), CDoublePoint(15.0, 6.0)) << c.name;
    }

    // A label that fits to the last byte keeps its shown terminator too.
    const std::string full(CHpglScanner::kMaxLabelChars - 1, 'x');
    const HpglState shown = Interpret("IN;DT#,0;LB" + full + "#PU5,6;");
    ASSERT_EQ(shown.labels.size(), 1u);
    EXPECT_EQ(shown.labels[0].text, full + "#");
    EXPECT_EQ(shown.penPosition, CDoublePoint(5.0, 6.0));

    // Without any terminator the rest of the file is the label's.
    const HpglState open = Interpret("IN;LB" + caption + "PU5,6;PD;PR10,0;");
    ASSERT_EQ(open.labels.size(), 1u);
    EXPECT_EQ(open.labels[0].text, kept);
    EXPECT_TRUE(open.primitives.empty());
}

TEST(HpglScanner, DamagedInputIsRefusedWithNothingKept)
{
    struct Case {
        const char* name;
        std::string input;
        CHpglReader::Result result;
    } const cases[] = {
        {"digit after DF", "IN;PD0,0,10,10;DF123;", CHpglReader::Result::NotHpgl},
        {"digit after SS", "SS1;", CHpglReader::Result::NotHpgl},
        {"empty file", "", CHpglReader::Result::NotHpgl},
        {"prose", "Hello world, this is no plotter file.\n", CHpglReader::Result::NotHpgl},
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), CHpglReader::Result::NotHpgl},
        {"only escapes", "\x1b%-12345X@PJL JOB\r\n", CHpglReader::Result::NotHpgl},
        {"too many points", [] {
             std::string s = "IN;";
             for (int i = 0; i < 4100; ++i) s += "CI1,0.36;";
             return s;
         }(),
         CHpglReader::Result::TooLarge},
        {"sound file", "IN;PD0,0,10,10;", CHpglReader::Result::Ok},
    };
    for (const Case& c : cases) {
        HpglState s;
        EXPECT_EQ(ReadHpgl(c.input, s), c.result) << c.name;
        if (c.result != CHpglReader::Result::Ok) {
            EXPECT_TRUE(s.primitives.empty()) << c.name;
            EXPECT_TRUE(s.labels.empty()) << c.name;
        }
    }
}
