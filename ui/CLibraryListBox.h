// The thumbnail list of the library browser: one 80 x 80 cell per file,
// filled top to bottom and then column by column, scrolled sideways.
// Cells are drawn from the preview cache, so only the cells in view are
// ever drawn and no file is read twice.
#pragma once

#include <QFileInfo>
#include <QListWidget>

class CLibraryPreviewCache;

class CLibraryListBox : public QListWidget {
    Q_OBJECT
public:
    explicit CLibraryListBox(CLibraryPreviewCache& cache, QWidget* parent = nullptr);

    // Replaces the items by one per file, in order, nothing selected.
    void SetFiles(const QFileInfoList& files);
};
