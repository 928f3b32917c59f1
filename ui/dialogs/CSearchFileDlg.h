// "Search files": the name with its location, and the type, date, size and other pages, each taking
// part when its box is ticked. A confirmed search hands back the files found; with "Auto select
// files" they are ticked in the tree as well.
#pragma once

#include <QDialog>
#include <vector>

#include "engine/model/FileSystemNode.h"
#include "engine/model/SearchCriteria.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QTabWidget;
class QTimeEdit;

namespace keldrin::ui {

class CSearchFileDlg final : public QDialog {
    Q_OBJECT
  public:
    // top: the tree's "Root"; current: the folder selected when the dialog opened (may be null).
    // Neither is owned.
    CSearchFileDlg(CFileSystemNode* top, CFileNode* current, QWidget* parent);

    // The values as the pages hold them now; false (with the range message shown) when a ticked
    // page's number is out of range.
    bool ReadValues(SearchValues& values);
    const std::vector<CFileNode*>& Results() const { return results_; }

    QTabWidget* Pages() const { return pages_; }
    QLineEdit* NameEdit() const { return name_; }
    QCheckBox* AutoSelect() const { return autoSelect_; }
    QComboBox* Location() const { return location_; }
    QCheckBox* TypeBox() const { return byType_; }
    QListWidget* TypeList() const { return types_; }
    QCheckBox* DateBox() const { return byDate_; }
    QComboBox* DateWhich() const { return dateWhich_; }
    QRadioButton* LastMonths() const { return lastMonths_; }
    QRadioButton* LastDays() const { return lastDays_; }
    QRadioButton* Between() const { return between_; }
    QLineEdit* MonthCount() const { return months_; }
    QLineEdit* DayCount() const { return days_; }
    QCheckBox* SizeBox() const { return bySize_; }
    QComboBox* SizeWhich() const { return sizeWhich_; }
    QLineEdit* SizeKb() const { return sizeKb_; }
    QCheckBox* OtherBox() const { return other_; }
    QCheckBox* CaseSensitive() const { return caseSensitive_; }
    QCheckBox* IncludeEncrypted() const { return includeEncrypted_; }

  public slots:
    // "Search": closes as confirmed with results, as cancelled when nothing matched or the name
    // was refused, or stays open when a page's number is out of range.
    void Search();

  protected:
    // F1: the English help page of the dialog.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QWidget* NamePage(CFileNode* current);
    QWidget* TypePage();
    QWidget* DatePage();
    QWidget* SizePage();
    QWidget* OtherPage();
    void EnablePages();

    CFileSystemNode* top_;
    std::vector<CFileNode*> results_;
    QTabWidget* pages_;
    QLineEdit* name_;
    QCheckBox* autoSelect_;
    QComboBox* location_;
    QCheckBox* byType_;
    QListWidget* types_;
    QCheckBox* byDate_;
    QComboBox* dateWhich_;
    QRadioButton* lastMonths_;
    QRadioButton* lastDays_;
    QRadioButton* between_;
    QLineEdit* months_;
    QLineEdit* days_;
    QDateEdit* fromDate_;
    QTimeEdit* fromTime_;
    QDateEdit* toDate_;
    QTimeEdit* toTime_;
    QCheckBox* bySize_;
    QComboBox* sizeWhich_;
    QLineEdit* sizeKb_;
    QCheckBox* other_;
    QCheckBox* caseSensitive_;
    QCheckBox* includeEncrypted_;
};

// The path of a node as "Search location:" shows it: the names from the top down, the top "Root"
// contributing nothing.
QString LocationPath(const CFileNode* node);

}  // namespace keldrin::ui
