// The "Option" dialog: the common, FAT, NTFS and RAW scan options on four pages switched by
// buttons. It edits a working copy of the scan settings; OK writes it back, Cancel drops it.
#pragma once

#include <QDialog>

#include "shared/ScanSettings.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTreeWidget;

namespace keldrin::ui {

inline constexpr int kOptionPageCommon = 0;
inline constexpr int kOptionPageFat = 1;
inline constexpr int kOptionPageNtfs = 2;
inline constexpr int kOptionPageRaw = 3;
inline constexpr int kOptionPageCount = 4;

class CAdvanceSettingMasterDlg final : public QDialog {
    Q_OBJECT
  public:
    // beforeScan: opened from a device page, so "Recover RAW files only" may change.
    CAdvanceSettingMasterDlg(bool beforeScan, QWidget* parent);

    // Cleared by the scan pages: the RAW type tree stays greyed. Call before the dialog is shown.
    void SetTypesEditable(bool editable);
    void ShowPage(int page);
    int CurrentPage() const { return current_; }
    QPushButton* PageButton(int page) const { return pageButtons_[page]; }
    QPushButton* DefaultButton() const { return default_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    QTreeWidget* RawTypeTree() const { return tree_; }

    void accept() override;

  protected:
    // F1: the English help page of the dialog.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QWidget* BuildCommonPage();
    QWidget* BuildFatPage();
    QWidget* BuildNtfsPage();
    QWidget* BuildRawPage();
    QCheckBox* AddCheck(QWidget* page, const char* objectName, const char* text, bool checked);
    void Load();
    void RestoreDefaults();
    void TickTypes(const std::vector<int>& types);
    void UpdateRawEnabling();
    void OnMaxSizeEdited(const QString& text);

    ScanSettings working_;
    bool beforeScan_;
    bool typesEditable_ = true;
    bool shown_[kOptionPageCount] = {};
    int current_ = -1;
    QPushButton* pageButtons_[kOptionPageCount] = {};
    QStackedWidget* pages_;
    QPushButton* default_;
    QPushButton* ok_;
    QPushButton* cancel_;

    QCheckBox* useBootRecords_;
    QCheckBox* usePartitionTables_;
    QCheckBox* extensiveSearch_;
    QCheckBox* fatDate_;
    QCheckBox* fatTime_;
    QCheckBox* fatThird_;
    QCheckBox* fatFirstCopy_;
    QCheckBox* fatSecondCopy_;
    QCheckBox* ntfsVolumeSize_;
    QCheckBox* ntfsMft_;
    QCheckBox* ntfsMftOnly_;
    QCheckBox* recoverRaw_;
    QCheckBox* rawOnly_;
    QLineEdit* maxSize_;
    QTreeWidget* tree_;
};

}  // namespace keldrin::ui
