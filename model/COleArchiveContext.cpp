#include "model/COleArchiveContext.h"

#include "platform/CArchive.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>

namespace {

// Tags of the object protocol.
constexpr std::uint16_t kNullTag = 0;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint32_t kBigClassTag = 0x80000000u;
// Class names longer than this are refused, as the protocol's readers do.
constexpr std::uint16_t kMaxClassName = 64;

} // namespace

struct COleArchiveContext::Table {
    struct Entry {
        bool isClass = false;
        WORD schema = 0;
        CVEKCntrItemPtr item;
    };

    ItemData data = InRecord;
    // Index 0 stands for the null object; classes and objects share the
    // numbering from 1.
    std::uint32_t count = 1;
    std::vector<Entry> loaded{Entry{}};
    std::uint32_t storedClass = 0;
    std::map<const CVEKCntrItem*, std::uint32_t> stored;
    std::vector<CVEKCntrItemPtr> items;

    CVEKCntrItemPtr Read(CArchive& ar);
    void Write(CArchive& ar, const CVEKCntrItemPtr& item);
    void MakeNumberUnique(CVEKCntrItem& item) const;
};

namespace {

struct Registration {
    const CArchive* archive;
    COleArchiveContext* context;
};

std::vector<Registration>& Registry()
{
    static std::vector<Registration> registry;
    return registry;
}

void WriteIndex(CArchive& ar, std::uint32_t index, std::uint32_t flag)
{
    if (index < kBigObjectTag) {
        ar << std::uint16_t((flag ? kClassTag : 0) | index);
    } else {
        ar << kBigObjectTag << std::uint32_t(flag | index);
    }
}

} // namespace

COleArchiveContext::COleArchiveContext(const CArchive& ar, ItemData data) : m_archive(&ar)
{
    if (COleArchiveContext* outer = Find(ar)) {
        m_table = outer->m_table;
    } else {
        m_table = std::make_shared<Table>();
        m_table->data = data;
    }
    Registry().push_back({&ar, this});
}

COleArchiveContext::~COleArchiveContext()
{
    auto& reg = Registry();
    reg.erase(std::remove_if(reg.begin(), reg.end(), [this](const Registration& r) { return r.context == this; }),
              reg.end());
}

COleArchiveContext* COleArchiveContext::Find(const CArchive& ar)
{
    for (const Registration& r : Registry())
        if (r.archive == &ar) return r.context;
    return nullptr;
}

const std::vector<CVEKCntrItemPtr>& COleArchiveContext::Items() const
{
    return m_table->items;
}

CVEKCntrItemPtr COleArchiveContext::ReadItem(CArchive& ar)
{
    if (COleArchiveContext* context = Find(ar)) return context->m_table->Read(ar);
    Table alone;
    return alone.Read(ar);
}

void COleArchiveContext::WriteItem(CArchive& ar, const CVEKCntrItemPtr& item)
{
    if (COleArchiveContext* context = Find(ar)) {
        context->m_table->Write(ar, item);
        return;
    }
    Table alone;
    alone.Write(ar, item);
}

CVEKCntrItemPtr COleArchiveContext::Table::Read(CArchive& ar)
{
    std::uint16_t tag = 0;
    ar >> tag;
    std::uint32_t index = 0;
    if (tag == kBigObjectTag)
        ar >> index;
    else
        index = (std::uint32_t(tag & kClassTag) << 16) | (tag & ~kClassTag);

    if (!(index & kBigClassTag)) {
        // A reference to an object read before, or the null object.
        if (index == kNullTag) return nullptr;
        if (index >= loaded.size() || loaded[index].isClass || !loaded[index].item)
            throw CArchiveError("reference to an object that was not read");
        return loaded[index].item;
    }

    WORD schema = 0;
    if (tag == kNewClassTag) {
        std::uint16_t length = 0;
        ar >> schema >> length;
        if (length >= kMaxClassName) throw CArchiveError("object class name too long");
        std::string name(length, '\0');
        ar.Read(name.data(), length);
        if (name != CVEKCntrItem::kClassName) throw CArchiveError("unknown object class " + name);
        loaded.push_back(Entry{true, schema, nullptr});
        ++count;
    } else {
        const std::uint32_t classIndex = index & ~kBigClassTag;
        if (classIndex == 0 || classIndex >= loaded.size() || !loaded[classIndex].isClass)
            throw CArchiveError("reference to an object class that was not read");
        schema = loaded[classIndex].schema;
    }

    auto item = std::make_shared<CVEKCntrItem>();
    item->SetClassSchema(schema);
    item->Load(ar, data == InRecord);
    loaded.push_back(Entry{false, 0, item});
    ++count;
    items.push_back(item);
    return item;
}

void COleArchiveContext::Table::Write(CArchive& ar, const CVEKCntrItemPtr& item)
{
    if (!item) {
        ar << kNullTag;
        return;
    }
    if (auto it = stored.find(item.get()); it != stored.end()) {
        WriteIndex(ar, it->second, 0);
        return;
    }
    if (storedClass == 0) {
        const std::uint16_t length = std::uint16_t(std::strlen(CVEKCntrItem::kClassName));
        ar << kNewClassTag << std::uint16_t(item->GetClassSchema()) << length;
        ar.Write(CVEKCntrItem::kClassName, length);
        storedClass = count++;
    } else {
        WriteIndex(ar, storedClass, kBigClassTag);
    }
    stored[item.get()] = count++;
    if (data == InStorages) MakeNumberUnique(*item);
    items.push_back(item);
    item->Store(ar, data == InRecord);
}

// Two items of one document file cannot share a storage: an item pasted
// from another document may bring a number that is taken, or none.
void COleArchiveContext::Table::MakeNumberUnique(CVEKCntrItem& item) const
{
    DWORD highest = 0;
    bool taken = item.GetItemNumber() == 0;
    for (const CVEKCntrItemPtr& other : items) {
        highest = std::max(highest, other->GetItemNumber());
        if (other.get() != &item && other->GetItemNumber() == item.GetItemNumber()) taken = true;
    }
    if (taken) item.SetItemNumber(highest + 1);
}
