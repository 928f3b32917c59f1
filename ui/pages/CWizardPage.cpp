#include "ui/pages/CWizardPage.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ui/app/Prompts.h"

namespace keldrin::ui {

CPlaceholderPage::CPlaceholderPage(IWizardPageController* controller, int helpContextId, const QString& title,
                                   QWidget* parent)
    : CWizardPage(controller, helpContextId, parent) {
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(title, this);
    heading->setObjectName("pageTitle");
    auto* note = new QLabel(Tr("This step is not available yet."), this);
    note->setWordWrap(true);
    layout->addWidget(heading);
    layout->addWidget(note);
    layout->addStretch();
    layout->setContentsMargins(24, 16, 24, 16);
}

}  // namespace keldrin::ui
