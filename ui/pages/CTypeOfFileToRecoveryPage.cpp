#include "ui/pages/CTypeOfFileToRecoveryPage.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/app/Prompts.h"
#include "ui/controller/PageIndex.h"

namespace keldrin::ui {

CTypeOfFileToRecoveryPage::CTypeOfFileToRecoveryPage(CTypeOfFileToRecoveryController& controller,
                                                     QWidget* parent)
    : CWizardPage(&controller, HelpContextId(kPageTypeOfFile), parent), controller_(controller) {
    static constexpr const char* kChoices[kTypeChoiceCount] = {"All file types", "Documents", "E-mail",
                                                               "Pictures",       "Audio",     "Video"};
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 16, 40, 16);
    auto* heading = new QLabel(Tr("What type of files would you like to recover?"), this);
    heading->setObjectName("pageTitle");
    layout->addWidget(heading);
    choices_ = new QButtonGroup(this);
    for (int i = 0; i < kTypeChoiceCount; ++i) {
        auto* button = new QRadioButton(Tr(kChoices[i]), this);
        button->setObjectName(QString("choice%1").arg(i));
        choices_->addButton(button, i);
        layout->addWidget(button);
        // The buttons would move only the focus on their own: the page moves the choice instead.
        button->installEventFilter(this);
    }
    setFocusPolicy(Qt::StrongFocus);
    layout->addStretch();
    connect(choices_, &QButtonGroup::idClicked, this, [this](int id) { controller_.SetChoice(id); });
}

void CTypeOfFileToRecoveryPage::MoveChoice(int step) {
    const int choice = std::clamp(controller_.GetChoice() + step, 0, kTypeChoiceCount - 1);
    controller_.SetChoice(choice);
    if (QAbstractButton* button = choices_->button(choice)) {
        button->setChecked(true);
        if (hasFocus() || (focusWidget() && focusWidget()->parentWidget() == this)) button->setFocus();
    }
}

bool CTypeOfFileToRecoveryPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            MoveChoice(key == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return CWizardPage::eventFilter(watched, event);
}

void CTypeOfFileToRecoveryPage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        MoveChoice(event->key() == Qt::Key_Up ? -1 : 1);
        return;
    }
    CWizardPage::keyPressEvent(event);
}

void CTypeOfFileToRecoveryPage::OnShow() {
    if (QAbstractButton* button = choices_->button(controller_.GetChoice())) button->setChecked(true);
}

}  // namespace keldrin::ui
