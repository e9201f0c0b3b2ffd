// "表格属性": the table property sheet, its general page ("表格": line
// widths and colour) first and its cell page ("单元格": cell margins)
// second. It only shows, checks and returns values: the table editing
// tool fills the pages from the table before it runs the sheet and
// applies what they hold after OK. Leaving a page, like OK, first lets the
// page check what was typed; a refused value keeps the page in front with
// its field selected.
#pragma once

#include <QDialog>

class CVTSetTableCellParaPage;
class CVTTableParaGeneralPage;
class QTabWidget;

class CVTSetTablePropertySheet : public QDialog {
    Q_OBJECT
public:
    CVTSetTablePropertySheet(int captionId, QWidget* parent = nullptr, int initialPage = 0);
    ~CVTSetTablePropertySheet() override;

    int DoModal();

    CVTTableParaGeneralPage* GeneralPage() const { return m_generalPage; }
    CVTSetTableCellParaPage* CellPage() const { return m_cellPage; }
    QTabWidget* Tabs() const { return m_tabs; }
    int GetActiveIndex() const;
    // Switches pages as a click on the tab does: refused while the page
    // in front refuses a value.
    bool SetActivePage(int index);

    // The scale at which both pages read lengths.
    int m_nUnitsPerMM = 100;

    void accept() override;

private:
    // The page in front checks its values; false after a refusal.
    bool CheckPage(int index);

    QTabWidget* m_tabs = nullptr;
    CVTTableParaGeneralPage* m_generalPage = nullptr;
    CVTSetTableCellParaPage* m_cellPage = nullptr;
    int m_active = 0;
    bool m_switching = false;
};
