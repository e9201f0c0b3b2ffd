// Splits the bytes of a plotter file into commands and hands each complete
// one to the interpreter. It reads two-letter mnemonics with signed decimal
// numbers, label texts up to their terminator, the terminator definition,
// comments and encoded polyline data, and passes over the escape sequences
// of device control and of the printer languages that wrap plotter data.
#pragma once

#include "library/CImportBuffer.h"

#include <cstddef>
#include <string>

class CHpglInterpreter;

class CHpglScanner {
public:
    enum class Status {
        Reading,
        // A digit where no number may stand (after DF or SS).
        NotHpgl,
        // More points, labels or values than an import takes.
        OverLimit,
    };

    // Longest number text; a longer digit run makes its command invalid.
    static constexpr std::size_t kMaxNumberChars = 32;
    // Longest label; the bytes after it up to the label's terminator are
    // passed over.
    static constexpr std::size_t kMaxLabelChars = 256;
    // Most values one command may carry.
    static constexpr std::size_t kMaxValues = 8000000;

    CHpglScanner(CHpglInterpreter& interpreter, CImportBuffer& record);

    // Reads bytes in order; false once reading has stopped (see Status).
    bool Feed(const char* data, std::size_t size);
    // The end of the input: a number or command still open is finished
    // and carried out once.
    void Finish();
    Status GetStatus() const { return m_status; }

private:
    enum class Mode {
        Mnemonic,        // expecting the first or second letter
        SkipToSemicolon, // a lone letter: everything up to ';'
        Numbers,
        NoArguments,     // DF, SS
        LabelText,
        TerminatorChar,  // the byte after DT
        CommentStart,    // after CO: a quoted text, or up to ';'
        CommentQuoted,
        Encoded,         // PE data up to ';'
        PjlCheck,        // '@' where a mnemonic may start
        PjlLine,
        Escape,          // the byte after ESC
        DeviceControl,   // the byte after ESC.
        DeviceParams,    // up to ':'
        PrinterEscape,   // ESC% ESC* ESC& ESC( ESC): up to the terminating letter
        PrinterData,     // the bytes a printer escape announced
    };

    void Byte(unsigned char b);
    void MnemonicByte(unsigned char b);
    void NumberByte(unsigned char b);
    void NoArgumentByte(unsigned char b);
    void LabelByte(unsigned char b);
    void EscapeByte(unsigned char b);
    void PrinterEscapeByte(unsigned char b);

    void StartCommand();
    void StartEscape();
    void EndNumber();
    void AppendNumberChar(char c);
    void Run();
    void Reset();
    bool Stop(Status status);

    CHpglInterpreter& m_interpreter;
    CImportBuffer& m_record;
    Status m_status = Status::Reading;
    Mode m_mode = Mode::Mnemonic;
    int m_letters = 0;
    // Whether the record holds a complete mnemonic not yet carried out.
    bool m_pending = false;
    // The number being read: at most kMaxNumberChars characters.
    char m_number[kMaxNumberChars] = {};
    std::size_t m_numberLength = 0;
    bool m_numberHasPoint = false;
    bool m_numberHasDigit = false;
    // Outside plotter data: between a printer-language switch to PCL and
    // the switch back, bytes other than escapes are passed over.
    bool m_inPcl = false;
    // The printer escape being read: its kind and its value field.
    char m_escapeKind = 0;
    std::string m_escapeValue;
    unsigned long long m_dataToSkip = 0;
    std::size_t m_pjlMatched = 0;
};
