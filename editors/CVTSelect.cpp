#include "editors/CVTSelect.h"

CVTSelect::CVTSelect(CVEKView* view) : CVectorTool(view) {}

CVTSelect::~CVTSelect() = default;

void CVTSelect::OnCopyTable() {}

void CVTSelect::OnCutTable() {}
