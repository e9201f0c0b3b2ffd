// Teaches the model's element factory to make tables (kind 8), so that
// pages, clipboard data and undo copies holding tables load and copy.
//
// This file is linked as an object of its own into every program that
// links the table library, where its registration runs before main. A program without the library keeps refusing tables.
#include "tables/CTableElement.h"

#include "model/ElementFactory.h"

#include <memory>

namespace {

std::unique_ptr<CGraphElement> MakeTable(CPage* page, int level)
{
    return std::make_unique<CTableElement>(page, level);
}

const bool g_tablesRegistered = (RegisterElementMaker(ELEMENT_TABLE, &MakeTable), true);

} // namespace
