#include "ui/pages/CSaveResultPage.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/app/Prompts.h"
#include "ui/controller/PageIndex.h"

namespace keldrin::ui {

CSaveResultPage::CSaveResultPage(CSaveResultController& controller, const CSaveFileController& save,
                                 QWidget* parent)
    : CWizardPage(&controller, HelpContextId(kPageSaveResult), parent), save_(save) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 12, 24, 8);
    auto* title = new QLabel(Tr("Report"), this);
    title->setObjectName("pageTitle");
    auto* subtitle = new QLabel(Tr("Saving is completed"), this);
    result_ = new QLabel(this);
    result_->setObjectName("resultLine");
    QFont bold = result_->font();
    bold.setBold(true);
    result_->setFont(bold);
    count_ = new QLabel(this);
    count_->setObjectName("countLine");
    target_ = new QLabel(this);
    target_->setObjectName("targetLine");
    target_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    target_->setWordWrap(true);
    names_ = new QListWidget(this);
    names_->setObjectName("resultNames");
    return_ = new QPushButton(Tr("Return"), this);
    return_->setObjectName("return");
    return_->setFixedWidth(110);
    for (QWidget* w : std::initializer_list<QWidget*>{title, subtitle, result_, count_}) layout->addWidget(w);
    layout->addWidget(new QLabel(Tr("Files are saved in:"), this));
    layout->addWidget(target_);
    layout->addWidget(names_, 1);
    layout->addWidget(return_, 0, Qt::AlignLeft);
    connect(return_, &QPushButton::clicked, this, [&controller] { controller.Return(); });
}

void CSaveResultPage::OnShow() {
    const uint32_t recovered = save_.GetRecoveredCount();
    const uint32_t selected = save_.GetSelectedCount();
    if (recovered == 0)
        result_->setText(Tr("Files are recovered unsuccessfully."));
    else if (recovered == selected)
        result_->setText(Tr("All files are recovered successfully."));
    else
        result_->setText(Tr("Some files are recovered successfully."));
    count_->setText(Tr("Files need to recover: ") + QString::number(selected) +
                    Tr(", total recovered files: ") + QString::number(recovered) + ".");
    target_->setText(QString::fromStdString(save_.GetTargetPath()));
    names_->clear();
    for (size_t i = 0; i < save_.GetNameCount(); ++i)
        names_->addItem(QString::fromStdString(save_.GetName(i)));
}

}  // namespace keldrin::ui
