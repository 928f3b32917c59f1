#include "ui/dialogs/CHasCheckboxPromptDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QStyle>

#include "ui/app/Prompts.h"

namespace keldrin::ui {

CHasCheckboxPromptDlg::CHasCheckboxPromptDlg(const QString& text, QWidget* parent) : QDialog(parent) {
    setObjectName("tip");
    setWindowTitle("Keldrin");
    auto* layout = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
    auto* message = new QLabel(text, this);
    message->setWordWrap(true);
    message->setMinimumWidth(320);
    layout->addWidget(message, 0, 1);
    box_ = new QCheckBox(Tr("Do not show this again"), this);
    layout->addWidget(box_, 1, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, 2, 0, 1, 2);
}

bool CHasCheckboxPromptDlg::DoNotShowAgain() const {
    return box_->isChecked();
}

}  // namespace keldrin::ui
