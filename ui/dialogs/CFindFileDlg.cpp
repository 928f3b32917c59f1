#include "ui/dialogs/CFindFileDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/app/Help.h"
#include "ui/app/Prompts.h"

namespace keldrin::ui {

CFindFileDlg::CFindFileDlg(IFindFileList& list, IFindFolderTree* tree, QWidget* parent)
    : QDialog(parent), list_(list), tree_(tree) {
    setObjectName("findFile");
    setWindowTitle(Tr("Find"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(Tr("Find Name:"), this), 0, 0);
    name_ = new QLineEdit(this);
    name_->setObjectName("findName");
    name_->setMaxLength(static_cast<int>(kMaxFindName));
    name_->setMinimumWidth(220);
    layout->addWidget(name_, 0, 1);
    matchCase_ = new QCheckBox(Tr("Match Case"), this);
    wholeWord_ = new QCheckBox(Tr("Whole Word"), this);
    layout->addWidget(matchCase_, 1, 1);
    layout->addWidget(wholeWord_, 2, 1);
    auto* next = new QPushButton(Tr("Find Next"), this);
    next->setObjectName("findNext");
    next->setDefault(true);
    auto* close = new QPushButton(Tr("Close"), this);
    layout->addWidget(next, 0, 2);
    layout->addWidget(close, 1, 2);
    connect(next, &QPushButton::clicked, this, [this] { FindNext(); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

FindResult CFindFileDlg::FindNext() {
    const FindResult result = finder_.FindNext(name_->text().toStdString(), matchCase_->isChecked(),
                                               wholeWord_->isChecked(), list_, tree_);
    if (const char* message = CFindFileByName::MessageFor(result)) GetPrompts().inform(this, Tr(message));
    return result;
}

void CFindFileDlg::keyPressEvent(QKeyEvent* event) {
    if (!HandleHelpKey(event, kHelpSearchDialogs)) QDialog::keyPressEvent(event);
}

}  // namespace keldrin::ui
