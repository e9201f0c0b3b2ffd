// libFuzzer entry for the workbook reader: any bytes either read into a
// rectangular used range or are refused with a reason.
#include "grading/CXlsReader.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CXlsReader::Rows rows;
    const CXlsReader::Error error =
        CXlsReader::ReadFirstWorksheet(std::string(reinterpret_cast<const char*>(data), size), rows);
    if (error != CXlsReader::Error::None && !rows.empty()) std::abort();
    for (const auto& row : rows)
        if (row.size() != rows.front().size()) std::abort();
    return 0;
}
