#include "library/CHpglScanner.h"

#include "library/CHpglInterpreter.h"

#include "geometry/NumberText.h"

#include <charconv>

namespace {

constexpr unsigned char kEsc = 27;
// A printer escape's value field longer than this is no count of ours.
constexpr std::size_t kMaxEscapeValueChars = 32;

bool IsLetter(unsigned char b)
{
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

char Upper(unsigned char b)
{
    return char(b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b);
}

} // namespace

CHpglScanner::CHpglScanner(CHpglInterpreter& interpreter, CImportBuffer& record)
    : m_interpreter(interpreter), m_record(record)
{
    m_record.Clear();
}

bool CHpglScanner::Feed(const char* data, std::size_t size)
{
    for (std::size_t i = 0; i < size && m_status == Status::Reading; ++i) {
        const unsigned char b = static_cast<unsigned char>(data[i]);
        // Digits of a coordinate are most of a plotter file.
        if (m_mode == Mode::Numbers && IsDigit(b) && m_numberLength < kMaxNumberChars) {
            m_number[m_numberLength++] = char(b);
            m_numberHasDigit = true;
            continue;
        }
        Byte(b);
    }
    return m_status == Status::Reading;
}

void CHpglScanner::Finish()
{
    if (m_status != Status::Reading) return;
    if (m_mode == Mode::Numbers) EndNumber();
    if (m_status == Status::Reading) Run();
}

bool CHpglScanner::Stop(Status status)
{
    m_status = status;
    m_pending = false;
    return false;
}

void CHpglScanner::Reset()
{
    m_record.Clear();
    m_mode = Mode::Mnemonic;
    m_letters = 0;
    m_pending = false;
    m_numberLength = 0;
    m_numberHasPoint = false;
    m_numberHasDigit = false;
}

void CHpglScanner::Run()
{
    if (m_pending) {
        m_pending = false;
        m_interpreter.Execute(m_record);
        if (m_interpreter.IsOverLimit()) {
            Stop(Status::OverLimit);
            return;
        }
    }
    Reset();
}

void CHpglScanner::StartCommand()
{
    m_pending = true;
    if (m_record.Is("DF") || m_record.Is("SS"))
        m_mode = Mode::NoArguments;
    else if (m_record.Is("LB"))
        m_mode = Mode::LabelText;
    else if (m_record.Is("DT"))
        m_mode = Mode::TerminatorChar;
    else if (m_record.Is("CO"))
        m_mode = Mode::CommentStart;
    else if (m_record.Is("PE"))
        m_mode = Mode::Encoded;
    else
        m_mode = Mode::Numbers;
}

void CHpglScanner::StartEscape()
{
    m_mode = Mode::Escape;
    m_letters = 0;
}

void CHpglScanner::Byte(unsigned char b)
{
    switch (m_mode) {
    case Mode::Mnemonic: MnemonicByte(b); break;
    case Mode::SkipToSemicolon:
        if (b == ';') m_mode = Mode::Mnemonic;
        else if (b == kEsc) StartEscape();
        break;
    case Mode::Numbers: NumberByte(b); break;
    case Mode::NoArguments: NoArgumentByte(b); break;
    case Mode::LabelText: LabelByte(b); break;
    case Mode::TerminatorChar:
        if (b == ';') {
            Run();
        } else if (b == kEsc) {
            Run();
            if (m_status == Status::Reading) StartEscape();
        } else {
            m_record.Text().assign(1, char(b));
            m_mode = Mode::Numbers;
        }
        break;
    case Mode::CommentStart:
        if (b == '"') {
            m_mode = Mode::CommentQuoted;
        } else if (b == ';') {
            Run();
        } else if (b == kEsc) {
            Run();
            if (m_status == Status::Reading) StartEscape();
        } else if (b != ' ') {
            // A comment without quotes runs to the next ';'.
            Run();
            if (m_status == Status::Reading) m_mode = Mode::SkipToSemicolon;
        }
        break;
    case Mode::CommentQuoted:
        if (b == '"') Run();
        break;
    case Mode::Encoded:
        if (b == ';') {
            Run();
        } else if (b == kEsc) {
            Run();
            if (m_status == Status::Reading) StartEscape();
        } else {
            m_record.Text().push_back(char(b));
        }
        break;
    case Mode::PjlCheck: {
        static const char kPjl[] = "PJL";
        if (b == static_cast<unsigned char>(kPjl[m_pjlMatched])) {
            if (++m_pjlMatched == 3) m_mode = Mode::PjlLine;
        } else {
            m_mode = Mode::Mnemonic;
            MnemonicByte(b);
        }
        break;
    }
    case Mode::PjlLine:
        if (b == '\n') m_mode = Mode::Mnemonic;
        else if (b == kEsc) StartEscape();
        break;
    case Mode::Escape:
    case Mode::DeviceControl:
    case Mode::DeviceParams: EscapeByte(b); break;
    case Mode::PrinterEscape: PrinterEscapeByte(b); break;
    case Mode::PrinterData:
        if (--m_dataToSkip == 0) m_mode = Mode::Mnemonic;
        break;
    }
}

void CHpglScanner::MnemonicByte(unsigned char b)
{
    if (b == kEsc) {
        // A lone first letter is dropped.
        StartEscape();
        return;
    }
    if (m_inPcl) return;
    if (m_letters == 0) {
        if (IsLetter(b)) {
            m_record.Clear();
            m_record.SetLetter(0, Upper(b));
            m_letters = 1;
        } else if (b == '@') {
            m_pjlMatched = 0;
            m_mode = Mode::PjlCheck;
        }
        return;
    }
    if (IsLetter(b)) {
        m_record.SetLetter(1, Upper(b));
        m_letters = 2;
        StartCommand();
    } else {
        m_letters = 0;
        m_mode = Mode::SkipToSemicolon;
    }
}

void CHpglScanner::AppendNumberChar(char c)
{
    if (m_numberLength >= kMaxNumberChars) {
        m_record.SetInvalid();
        return;
    }
    m_number[m_numberLength++] = c;
}

// Whole numbers, by far the most common, are added up digit by digit
// (exactly, below 2^53); numbers with a point go through the library's
// correctly rounded conversion.
void CHpglScanner::EndNumber()
{
    if (m_numberHasDigit && !m_record.IsInvalid()) {
        const char* first = m_number;
        const char* last = first + m_numberLength;
        const bool negative = *first == '-';
        if (*first == '+' || *first == '-') ++first;
        double value = 0.0;
        bool read = true;
        if (!m_numberHasPoint && last - first <= 15) {
            long long whole = 0;
            for (const char* c = first; c != last; ++c) whole = whole * 10 + (*c - '0');
            value = double(negative ? -whole : whole);
        } else {
            if (negative) --first;
            const auto result = std::from_chars(first, last, value);
            read = result.ec == std::errc() && result.ptr == last;
        }
        if (!read)
            m_record.SetInvalid();
        else if (m_record.GetValueCount() >= kMaxValues)
            Stop(Status::OverLimit);
        else
            m_record.AddValue(value);
    }
    m_numberLength = 0;
    m_numberHasPoint = false;
    m_numberHasDigit = false;
}

void CHpglScanner::NumberByte(unsigned char b)
{
    if (IsDigit(b)) {
        AppendNumberChar(char(b));
        m_numberHasDigit = true;
        return;
    }
    if (b == '.') {
        if (m_numberHasPoint) EndNumber();
        AppendNumberChar('.');
        m_numberHasPoint = true;
        return;
    }
    if (b == '+' || b == '-') {
        if (m_numberLength > 0) EndNumber();
        AppendNumberChar(char(b));
        return;
    }
    EndNumber();
    if (m_status != Status::Reading) return;
    if (b == ';') {
        Run();
    } else if (IsLetter(b)) {
        Run();
        if (m_status == Status::Reading) MnemonicByte(b);
    } else if (b == kEsc) {
        Run();
        if (m_status == Status::Reading) StartEscape();
    }
    // Anything else (comma, blank, line break) only separates numbers.
}

void CHpglScanner::NoArgumentByte(unsigned char b)
{
    if (IsDigit(b)) {
        Stop(Status::NotHpgl);
    } else if (b == ';') {
        Run();
    } else if (IsLetter(b)) {
        Run();
        if (m_status == Status::Reading) MnemonicByte(b);
    } else if (b == kEsc) {
        Run();
        if (m_status == Status::Reading) StartEscape();
    }
}

void CHpglScanner::LabelByte(unsigned char b)
{
    const HpglState& state = m_interpreter.State();
    std::string& text = m_record.Text();
    if (b == static_cast<unsigned char>(state.terminator)) {
        if (state.printTerminator && text.size() < kMaxLabelChars) text.push_back(char(b));
        Run();
        return;
    }
    if (b == kEsc) {
        Run();
        if (m_status == Status::Reading) StartEscape();
        return;
    }
    // Past its longest a label keeps what it has and passes over the rest
    // of its text: read as commands, the words of a long caption would
    // reset or move the drawing (the "IN" of "printing").
    if (text.size() < kMaxLabelChars) text.push_back(char(b));
}

void CHpglScanner::EscapeByte(unsigned char b)
{
    if (m_mode == Mode::Escape) {
        if (b == '.') {
            m_mode = Mode::DeviceControl;
        } else if (b == '%' || b == '*' || b == '&' || b == '(' || b == ')') {
            m_escapeKind = char(b);
            m_escapeValue.clear();
            m_mode = Mode::PrinterEscape;
        } else if (b >= 0x30 && b <= 0x7E) {
            // A two-byte escape such as ESC E.
            m_mode = Mode::Mnemonic;
        } else {
            m_mode = Mode::Mnemonic;
            MnemonicByte(b);
        }
        return;
    }
    if (m_mode == Mode::DeviceControl) {
        static const std::string kWithParameters = "@HIMNPQST";
        if (b < 0x21 || b > 0x7E) {
            m_mode = Mode::Mnemonic;
            MnemonicByte(b);
        } else if (kWithParameters.find(char(b)) != std::string::npos) {
            m_mode = Mode::DeviceParams;
        } else {
            m_mode = Mode::Mnemonic;
        }
        return;
    }
    // Device-control parameters: numbers separated by ';' up to ':'.
    if (b == ':') {
        m_mode = Mode::Mnemonic;
    } else if (!(IsDigit(b) || b == ';' || b == ' ')) {
        m_mode = Mode::Mnemonic;
        MnemonicByte(b);
    }
}

void CHpglScanner::PrinterEscapeByte(unsigned char b)
{
    if (IsDigit(b) || b == '+' || b == '-' || b == '.') {
        if (m_escapeValue.size() < kMaxEscapeValueChars) m_escapeValue.push_back(char(b));
        return;
    }
    if (b >= 0x60 && b <= 0x7E) {
        // A group or parameter letter of a combined sequence.
        m_escapeValue.clear();
        return;
    }
    if (b >= 0x40 && b <= 0x5E) {
        m_mode = Mode::Mnemonic;
        long long count = 0;
        const char* first = m_escapeValue.data();
        const char* last = first + m_escapeValue.size();
        if (first != last && *first == '+') ++first;
        std::from_chars(first, last, count);
        if (m_escapeKind == '%') {
            // ESC%nA enters the printer language, ESC%nB comes back to
            // plotter data, ESC%-12345X ends the job's language.
            if (b == 'A') m_inPcl = true;
            else if (b == 'B' || b == 'X') m_inPcl = false;
        } else if (b == 'W' && count > 0) {
            // Binary data of the announced length follows.
            m_dataToSkip = static_cast<unsigned long long>(count);
            m_mode = Mode::PrinterData;
        }
        return;
    }
    m_mode = Mode::Mnemonic;
    MnemonicByte(b);
}
