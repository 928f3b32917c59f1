#include "ui/pages/CRecoveryModeSelectPage.h"

#include <QGridLayout>
#include <QLabel>

#include "ui/app/Prompts.h"
#include "ui/controller/PageIndex.h"

namespace keldrin::ui {

CRecoveryModeSelectPage::CRecoveryModeSelectPage(CRecoveryModeSelectController& controller, QWidget* parent)
    : CWizardPage(&controller, HelpContextId(kPageModeSelect), parent), controller_(controller) {
    static constexpr const char* kCaptions[3] = {"  Deleted File Recovery  ", "  Complete Recovery  ",
                                                 "  Partition Recovery  "};
    static constexpr const char* kNotes[3] = {
        "Quickly recover files deleted from a volume that is still intact.",
        "Scan a formatted, damaged or inaccessible volume sector by sector.",
        "Search a whole disk for lost or deleted partitions."};
    static constexpr const char* kIcons[3] = {":/pictures/mode_deleted.svg", ":/pictures/mode_complete.svg",
                                              ":/pictures/mode_partition.svg"};
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(60, 28, 60, 28);
    layout->setHorizontalSpacing(20);
    layout->setVerticalSpacing(18);
    for (int mode = 0; mode < 3; ++mode) {
        auto* button = new QPushButton(QIcon(kIcons[mode]), Tr(kCaptions[mode]), this);
        button->setObjectName(QString("mode%1").arg(mode));
        button->setIconSize(QSize(48, 48));
        button->setMinimumSize(280, 84);
        button->setStyleSheet(
            "QPushButton { font-size: 15px; font-weight: bold; text-align: left; padding-left: 14px;"
            " background: #f3f8fc; border: 1px solid #9cc3e0; border-radius: 6px; }"
            "QPushButton:hover { background: #dcebf7; }");
        auto* note = new QLabel(Tr(kNotes[mode]), this);
        note->setWordWrap(true);
        layout->addWidget(button, mode, 0);
        layout->addWidget(note, mode, 1);
        buttons_[mode] = button;
        connect(button, &QPushButton::clicked, this, [this, mode] {
            controller_.SetMode(mode);
            controller_.GoNext();
        });
    }
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(3, 1);
}

}  // namespace keldrin::ui
