// "系统设置": the settings sheet with its six pages. OK and Apply first
// let every page that was shown check what the user typed; a refused value
// stops the whole step (its page comes to the front, its field takes the
// focus) and nothing is stored. Otherwise every shown page writes its
// values and the sheet tells its owner, which puts the new settings to
// work at once.
#pragma once

#include <QDialog>

#include <vector>

class CSettingsPage;
class QPushButton;
class QTabWidget;

class CSystemSetupSheet : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDS_CAPTION = 36022;
    static constexpr int kPageCount = 6;

    CSystemSetupSheet(int captionId = IDS_CAPTION, QWidget* parent = nullptr, int firstPage = 0);

    int DoModal();
    int GetPageCount() const { return int(m_pages.size()); }
    CSettingsPage* GetPage(int index) const;
    template <class Page>
    Page* FindPage() const
    {
        for (CSettingsPage* p : m_pages)
            if (auto* page = qobject_cast<Page*>(p)) return page;
        return nullptr;
    }
    int GetActiveIndex() const;
    void SetActivePage(int index);
    QTabWidget* Tabs() const { return m_tabs; }
    QPushButton* ApplyButton() const { return m_apply; }

    // Checks, then writes every shown page; false (and nothing written)
    // when a page refused a value.
    bool OnApply();

Q_SIGNALS:
    // The settings record holds new values.
    void SettingsApplied();

public Q_SLOTS:
    void accept() override;

private:
    void UpdateApplyButton();

    QTabWidget* m_tabs = nullptr;
    QPushButton* m_apply = nullptr;
    std::vector<CSettingsPage*> m_pages;
};
