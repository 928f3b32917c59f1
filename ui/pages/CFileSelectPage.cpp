#include "ui/pages/CFileSelectPage.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ui/app/Prompts.h"
#include "ui/controller/Format.h"
#include "ui/controller/PageIndex.h"

namespace keldrin::ui {

CFileSelectPage::CFileSelectPage(CFileSelectController& controller, QWidget* parent)
    : CWizardPage(&controller, HelpContextId(kPageFileSelect), parent), controller_(controller) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    auto* heading = new QLabel(Tr("Found files"), this);
    heading->setObjectName("pageTitle");
    summary_ = new QLabel(this);
    summary_->setObjectName("summary");
    summary_->setWordWrap(true);
    layout->addWidget(heading);
    layout->addWidget(summary_);
    layout->addStretch();
}

void CFileSelectPage::OnShow() {
    const RecoveredTree* tree = controller_.Tree();
    const SelectionStatistics stats = tree ? tree->Root()->GetStatistics() : SelectionStatistics{};
    summary_->setText(Tr("%1 deleted or lost files, %2 in all.")
                          .arg(stats.files)
                          .arg(QString::fromStdString(FormatSize(static_cast<int64_t>(stats.totalSize)))));
}

}  // namespace keldrin::ui
