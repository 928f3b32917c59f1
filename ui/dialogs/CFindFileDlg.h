// "Find file by name": steps through the files of the page's list and folder tree; the previous
// text, options and start item live as long as the dialog.
#pragma once

#include <QDialog>

#include "engine/model/FindByName.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace keldrin::ui {

class CFindFileDlg final : public QDialog {
    Q_OBJECT
  public:
    // Neither list nor tree is owned; tree may be null.
    CFindFileDlg(IFindFileList& list, IFindFolderTree* tree, QWidget* parent);

    QLineEdit* NameEdit() const { return name_; }
    QCheckBox* MatchCase() const { return matchCase_; }
    QCheckBox* WholeWord() const { return wholeWord_; }
    // "Find Next"; the message of the result is shown.
    FindResult FindNext();
    // For a new tree: the remembered start item would point into the old one.
    void Reset() { finder_.Reset(); }

  protected:
    // F1: the English help page of the dialog.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    IFindFileList& list_;
    IFindFolderTree* tree_;
    CFindFileByName finder_;
    QLineEdit* name_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWord_;
};

}  // namespace keldrin::ui
