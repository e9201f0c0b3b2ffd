#include "grading/GradingTexts.h"

#include "geometry/NumberText.h"
#include "platform/CodePage.h"
#include "res/StringTable.h"

#include <cctype>

bool IsPlainDecimal(const std::string& text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (std::isdigit(c)) {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

std::string CutMeasurementText(const std::string& text)
{
    if (!IsPlainDecimal(text)) return text;
    const std::size_t point = text.find('.');
    if (point == std::string::npos || point + 2 >= text.size()) return text;
    return text.substr(0, point + 2);
}

std::string PrintfF(double value)
{
    return FormatFixed(value, 6);
}

std::string SizeText(double key, bool wholeInterval)
{
    std::string text = PrintfF(key);
    const std::size_t point = text.find('.');
    if (point == std::string::npos) return text;
    if (wholeInterval) return text.substr(0, point);
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

std::string AverageText(double value)
{
    const std::string text = PrintfF(value);
    const std::size_t point = text.find('.');
    if (point == std::string::npos || point + 2 > text.size()) return text;
    return text.substr(0, point + 2);
}

std::string NumberedName(const std::string& name, int n)
{
    return name + "(" + std::to_string(n) + ")";
}

std::string GbkResString(int id)
{
    return QStringToGbk(LoadResString(id));
}
