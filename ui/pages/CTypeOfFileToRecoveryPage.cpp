#include "ui/pages/CTypeOfFileToRecoveryPage.h"

#include <QAbstractButton>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

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
    }
    layout->addStretch();
    connect(choices_, &QButtonGroup::idClicked, this, [this](int id) { controller_.SetChoice(id); });
}

void CTypeOfFileToRecoveryPage::OnShow() {
    if (QAbstractButton* button = choices_->button(controller_.GetChoice())) button->setChecked(true);
}

}  // namespace keldrin::ui
