// "Properties" of a file or folder: name and value rows by the node's file system.
#pragma once

#include <QDialog>

#include "engine/model/FileNode.h"

class QTreeWidget;

namespace keldrin::ui {

class CPropertiesDlg final : public QDialog {
    Q_OBJECT
  public:
    CPropertiesDlg(const CFileNode* node, QWidget* parent);
    QTreeWidget* List() const { return list_; }

  private:
    QTreeWidget* list_;
};

}  // namespace keldrin::ui
