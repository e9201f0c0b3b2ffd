// "自动备份间隙": automatic backup on or off, at every step or every so
// many minutes, and the backup file. The interval is taken only from 1 to
// 1,440 minutes (one day) and the running backup timer follows it at once;
// the backup file is made absolute (a bare name lies in the user's data
// folder) and must be a file the program can write.
#pragma once

#include "ui/CSettingsPage.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CAutoSaveIntervalPage : public CSettingsPage {
    Q_OBJECT
public:
    static constexpr int IDD = 210;
    static constexpr int IDC_INTERVAL_MODE = 1054;
    static constexpr int IDC_EVERY_STEP = 1055;
    static constexpr int IDC_MINUTES = 1056;
    static constexpr int IDC_FILE = 1057;
    static constexpr int IDC_BROWSE = 1058;
    static constexpr int IDC_AUTO_BACKUP = 1059;
    static constexpr int kMinMinutes = 1;
    static constexpr int kMaxMinutes = 1440;
    // The name an empty backup name stands for.
    static constexpr const char* kDefaultName = "backup.qpn";

    explicit CAutoSaveIntervalPage(QWidget* parent = nullptr);

    // Minutes of a text of plain digits within the range; -1 otherwise.
    static int ParseMinutes(const QString& text);
    // The absolute backup path a typed name stands for.
    static QString ResolvedFile(const QString& typed);
    // True when the program can create or overwrite the file.
    static bool IsWritableFile(const QString& absolutePath);

    // The page's values differ from the settings (what OK would store).
    bool IsChanged() const;
    bool OnValidate() override;
    void OnOK() override;

protected:
    void OnInitDialog() override;

private:
    void EnableControls();
    void OnBrowse();

    QRadioButton* m_intervalMode = nullptr;
    QRadioButton* m_everyStepMode = nullptr;
    QLineEdit* m_minutes = nullptr;
    QLineEdit* m_file = nullptr;
    QPushButton* m_browse = nullptr;
    QCheckBox* m_autoBackup = nullptr;
    bool m_bEveryStep = false;
};
