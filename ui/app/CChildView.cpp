#include "ui/app/CChildView.h"

#include <QShortcut>
#include <QVBoxLayout>

#include "ui/wizard/CWizardSheet.h"

namespace keldrin::ui {

CChildView::CChildView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    sheet_ = new CWizardSheet(this);
    layout->addWidget(sheet_);
    auto* open = new QShortcut(QKeySequence::Open, this);
    connect(open, &QShortcut::activated, sheet_, &CWizardSheet::OpenImageCommand);
}

}  // namespace keldrin::ui
