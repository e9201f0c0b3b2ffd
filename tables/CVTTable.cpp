#include "tables/CVTTable.h"

CVTTable::CVTTable(CVEKView* view) : CVectorTool(view) {}

CVTTable::~CVTTable() = default;

void CVTTable::OnCopyTable() {}

void CVTTable::OnCutTable() {}
