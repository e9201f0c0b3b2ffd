// "档案目录": save documents only into the archive folder, and that
// folder. Every control asks for the password first; one right entry
// unlocks the page until the sheet closes. With the option on, the folder
// must exist and take new files, or no document could be saved at all.
#pragma once

#include "ui/CSettingsPage.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class CSetFilesPathPage : public CSettingsPage {
    Q_OBJECT
public:
    static constexpr int IDD = 211;
    static constexpr int IDC_ARCHIVE_ONLY = 1060;
    static constexpr int IDC_FOLDER = 1061;
    static constexpr int IDC_BROWSE = 1058;

    explicit CSetFilesPathPage(QWidget* parent = nullptr);

    bool IsUnlocked() const { return m_bUnlocked; }
    // True for an existing folder that takes new files.
    static bool IsWritableFolder(const QString& folder);

    bool IsChanged() const;
    bool OnValidate() override;
    void OnOK() override;

protected:
    void OnInitDialog() override;
    // Asks for the password unless the page is unlocked; true when it is
    // unlocked afterwards.
    bool Unlock();

private:
    void OnCheckClicked();
    void OnFolderEdited();
    void OnBrowse();
    void RestoreFromSettings();
    void EnableControls();

    QCheckBox* m_archiveOnly = nullptr;
    QLineEdit* m_folder = nullptr;
    QPushButton* m_browse = nullptr;
    bool m_bUnlocked = false;
    bool m_bAsking = false;
};
