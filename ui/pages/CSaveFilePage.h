// The saving page: the destination folder typed under "Path" or picked in the folder tree of the
// computer, and the pie of the destination's used, free and required space.
#pragma once

#include <QWidget>

#include "ui/controller/CSaveFileController.h"
#include "ui/pages/CWizardPage.h"

class QFileSystemModel;
class QLabel;
class QLineEdit;
class QTreeView;

namespace keldrin::ui {

// The pie and its three legend lines.
class CSpacePie final : public QWidget {
    Q_OBJECT
  public:
    explicit CSpacePie(QWidget* parent);
    void SetSpace(bool known, uint64_t total, uint64_t free, uint64_t required);
    QStringList LegendLines() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool known_ = false;
    uint64_t total_ = 0;
    uint64_t free_ = 0;
    uint64_t required_ = 0;
};

class CSaveFilePage final : public CWizardPage {
    Q_OBJECT
  public:
    CSaveFilePage(CSaveFileController& controller, QWidget* parent);
    void OnShow() override;

    QLineEdit* PathEdit() const { return path_; }
    QTreeView* Folders() const { return folders_; }
    CSpacePie* Pie() const { return pie_; }

  private:
    void PathChanged(const QString& text);

    CSaveFileController& controller_;
    QLineEdit* path_;
    QTreeView* folders_;
    QFileSystemModel* model_ = nullptr;
    CSpacePie* pie_;
    QLabel* required_;
};

}  // namespace keldrin::ui
