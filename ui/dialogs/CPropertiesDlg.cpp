#include "ui/dialogs/CPropertiesDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/app/Prompts.h"
#include "ui/controller/FileCells.h"

namespace keldrin::ui {

CPropertiesDlg::CPropertiesDlg(const CFileNode* node, QWidget* parent) : QDialog(parent) {
    setObjectName("properties");
    setWindowTitle(Tr("Properties"));
    auto* layout = new QVBoxLayout(this);
    list_ = new QTreeWidget(this);
    list_->setObjectName("propertyList");
    list_->setRootIsDecorated(false);
    list_->setColumnCount(2);
    list_->setHeaderLabels({Tr("Name"), Tr("Value")});
    list_->setColumnWidth(0, 200);
    list_->setColumnWidth(1, 200);
    list_->setWordWrap(true);
    for (const PropertyRow& row : PropertyRows(node)) {
        // Names and yes/no are the program's own words; values are the volume's.
        const QString value = row.second == "Yes" || row.second == "No" ? Tr(row.second.c_str())
                                                                        : QString::fromStdString(row.second);
        auto* item = new QTreeWidgetItem(list_, {Tr(row.first.c_str()), value});
        item->setToolTip(1, value);
    }
    layout->addWidget(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(440, 320);
}

}  // namespace keldrin::ui
