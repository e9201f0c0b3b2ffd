// One plotter command as the scanner read it: the two-letter mnemonic, its
// numbers in order with the kind of each, and the text of the commands that
// carry one (a label, a label terminator, encoded polyline data).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CImportBuffer {
public:
    // Argument kinds.
    static constexpr std::int32_t kNumber = 9;

    CImportBuffer() { Clear(); }

    const char* GetMnemonic() const { return m_mnemonic; }
    bool Is(const char* mnemonic) const { return m_mnemonic[0] == mnemonic[0] && m_mnemonic[1] == mnemonic[1]; }
    void SetLetter(int index, char letter) { m_mnemonic[index] = letter; }

    std::size_t GetValueCount() const { return m_values.size(); }
    const std::vector<double>& Values() const { return m_values; }
    double Value(std::size_t i) const { return m_values[i]; }
    void AddValue(double value)
    {
        m_values.push_back(value);
        m_kinds.push_back(kNumber);
    }

    const std::string& Text() const { return m_text; }
    std::string& Text() { return m_text; }

    // A number of the command could not be read (an over-long digit run):
    // the command is not carried out.
    bool IsInvalid() const { return m_invalid; }
    void SetInvalid() { m_invalid = true; }

    // Empties the arguments and the text and terminates the mnemonic after
    // its second letter.
    void Clear()
    {
        m_mnemonic[0] = m_mnemonic[1] = ' ';
        m_mnemonic[2] = m_mnemonic[3] = '\0';
        m_kinds.clear();
        m_values.clear();
        m_text.clear();
        m_invalid = false;
    }

private:
    char m_mnemonic[4];
    std::vector<std::int32_t> m_kinds;
    std::vector<double> m_values;
    std::string m_text;
    bool m_invalid = false;
};
