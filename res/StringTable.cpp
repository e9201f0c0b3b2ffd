#include "StringTable.h"

#include <unordered_map>

namespace {

struct Entry {
    int id;
    const char* text;
};

// UTF-8 texts; files and the model keep GBK, the user interface Unicode.
const Entry kStrings[] = {
    {36000, "\"Morvane\"服装工艺单软件V1.0"},
    {36019, "请保存到指定的目录或其子目录下!"},
    {36058, "非MorvaneVEK格式或者文件已经损坏。"},
};

const std::unordered_map<int, QString>& Table()
{
    static const std::unordered_map<int, QString> table = [] {
        std::unordered_map<int, QString> t;
        for (const Entry& e : kStrings) t.emplace(e.id, QString::fromUtf8(e.text));
        return t;
    }();
    return table;
}

} // namespace

QString LoadResString(int id)
{
    const auto& t = Table();
    const auto it = t.find(id);
    return it == t.end() ? QString() : it->second;
}
