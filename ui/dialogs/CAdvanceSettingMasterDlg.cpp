#include "ui/dialogs/CAdvanceSettingMasterDlg.h"

#include <QCheckBox>
#include <QFileIconProvider>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/raw/RawFileType.h"
#include "shared/TypeFilter.h"
#include "ui/app/Help.h"
#include "ui/app/Prompts.h"
#include "ui/controller/RawTypeGroups.h"

namespace keldrin::ui {

namespace {

constexpr int kTypeRole = Qt::UserRole;

// The extensions shown after a type's description; a few types are known under two.
QString ShownExtensions(int type) {
    switch (type) {
        case 31:
            return ".htm.html";
        case 33:
            return ".jpg.jpeg";
        default:
            return "." + QString(RawFileType::Extension(type)).toLower();
    }
}

QIcon IconOf(const QString& fileName) {
    static QFileIconProvider provider;
    return provider.icon(QFileInfo(fileName));
}

QLabel* Note(QWidget* page, const char* text) {
    auto* label = new QLabel(Tr(text), page);
    label->setWordWrap(true);
    label->setObjectName("note");
    page->layout()->addWidget(label);
    return label;
}

}  // namespace

CAdvanceSettingMasterDlg::CAdvanceSettingMasterDlg(bool beforeScan, QWidget* parent)
    : QDialog(parent), working_(GetScanSettings()), beforeScan_(beforeScan) {
    setObjectName("option");
    setWindowTitle(Tr("Option"));
    auto* layout = new QVBoxLayout(this);
    auto* switches = new QHBoxLayout;
    static constexpr const char* kPageNames[kOptionPageCount] = {"Common", "FAT", "NTFS", "RAW"};
    for (int i = 0; i < kOptionPageCount; ++i) {
        pageButtons_[i] = new QPushButton(Tr(kPageNames[i]), this);
        pageButtons_[i]->setObjectName(QString("page%1").arg(i));
        pageButtons_[i]->setAutoDefault(false);
        connect(pageButtons_[i], &QPushButton::clicked, this, [this, i] { ShowPage(i); });
        switches->addWidget(pageButtons_[i]);
    }
    switches->addStretch();
    layout->addLayout(switches);
    pages_ = new QStackedWidget(this);
    pages_->addWidget(BuildCommonPage());
    pages_->addWidget(BuildFatPage());
    pages_->addWidget(BuildNtfsPage());
    pages_->addWidget(BuildRawPage());
    layout->addWidget(pages_, 1);

    auto* buttons = new QHBoxLayout;
    default_ = new QPushButton(Tr("Default"), this);
    default_->setObjectName("default");
    default_->setAutoDefault(false);
    ok_ = new QPushButton(Tr("OK"), this);
    ok_->setObjectName("ok");
    ok_->setDefault(true);
    cancel_ = new QPushButton(Tr("Cancel"), this);
    cancel_->setObjectName("cancel");
    cancel_->setAutoDefault(false);
    buttons->addWidget(default_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    connect(default_, &QPushButton::clicked, this, &CAdvanceSettingMasterDlg::RestoreDefaults);
    connect(ok_, &QPushButton::clicked, this, &CAdvanceSettingMasterDlg::accept);
    connect(cancel_, &QPushButton::clicked, this, &CAdvanceSettingMasterDlg::reject);

    Load();
    ShowPage(kOptionPageFat);
    resize(480, 420);
}

QCheckBox* CAdvanceSettingMasterDlg::AddCheck(QWidget* page, const char* objectName, const char* text,
                                              bool checked) {
    auto* box = new QCheckBox(Tr(text), page);
    box->setObjectName(objectName);
    box->setChecked(checked);
    page->layout()->addWidget(box);
    return box;
}

QWidget* CAdvanceSettingMasterDlg::BuildCommonPage() {
    auto* page = new QWidget(this);
    new QVBoxLayout(page);
    useBootRecords_ = AddCheck(page, "useBootRecords", "Use Boot Records", false);
    Note(page,
         "Using Boot Records could calculate file system details with better accuracy if the Boot "
         "Records is not corrupted. ");
    usePartitionTables_ = AddCheck(page, "usePartitionTables", "Use Partition Tables", false);
    extensiveSearch_ = AddCheck(page, "extensiveVolumesSearch", "Extensive Volumes Search", false);
    usePartitionTables_->hide();
    extensiveSearch_->hide();
    static_cast<QVBoxLayout*>(page->layout())->addStretch();
    return page;
}

QWidget* CAdvanceSettingMasterDlg::BuildFatPage() {
    auto* page = new QWidget(this);
    new QVBoxLayout(page);
    fatDate_ = AddCheck(page, "fatCheckDate", "Check DATE field of file descriptors", false);
    fatTime_ = AddCheck(page, "fatCheckTime", "Check TIME field of file descriptors", false);
    fatThird_ = AddCheck(page, "fatThirdOption", "", false);
    fatThird_->hide();
    Note(page,
         "Un-check these option could generate a larger number of files, but file content could become "
         "less accurate.");
    fatFirstCopy_ = AddCheck(page, "fatUseFirstCopy", "Use first FAT copy", false);
    fatSecondCopy_ = AddCheck(page, "fatUseSecondCopy", "Use second FAT copy", false);
    Note(page,
         "Un-check these options would find more files, especially useful if you are searching for "
         "deleted or lost files.");
    static_cast<QVBoxLayout*>(page->layout())->addStretch();
    return page;
}

QWidget* CAdvanceSettingMasterDlg::BuildNtfsPage() {
    auto* page = new QWidget(this);
    new QVBoxLayout(page);
    ntfsVolumeSize_ =
        AddCheck(page, "ntfsVolumeSizeFromFiles", "Use NTFS files for volume size detection", false);
    Note(page, "This option may affect the size of located NTFS volumes");
    ntfsMft_ = AddCheck(page, "ntfsUseMftFile", "Use $MFT file", false);
    Note(page,
         "Check this option to enable $MFT data recovery. In most case, it gives better accuracy of data "
         "recovery; while if $MFT is corrupted, it may lead to incorrect results.");
    ntfsMftOnly_ = AddCheck(page, "ntfsShowMftOnlyFiles", "Show files that belong to $MFT only", false);
    Note(page,
         "Files not included in $MFT probably are garbage, but in some rare cases check this option would "
         "locate good copy of files. ");
    static_cast<QVBoxLayout*>(page->layout())->addStretch();
    return page;
}

QWidget* CAdvanceSettingMasterDlg::BuildRawPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    recoverRaw_ = AddCheck(page, "recoverRawFiles", "Recover RAW files:", false);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(new QLabel(Tr("Maximal file size:"), page));
    maxSize_ = new QLineEdit(page);
    maxSize_->setObjectName("maxFileSize");
    sizeRow->addWidget(maxSize_, 1);
    sizeRow->addWidget(new QLabel(Tr("Bytes."), page));
    layout->addLayout(sizeRow);
    rawOnly_ = AddCheck(page, "recoverRawFilesOnly", "Recover RAW files only", false);
    layout->addWidget(new QLabel(Tr("What file types would you like to recover?"), page));
    tree_ = new QTreeWidget(page);
    tree_->setObjectName("rawTypes");
    tree_->setHeaderHidden(true);
    for (const RawTypeGroup& group : RawTypeGroups()) {
        auto* parentItem = new QTreeWidgetItem(tree_, QStringList(Tr(group.name)));
        parentItem->setIcon(0, IconOf(group.iconOf));
        for (int type : group.types) {
            auto* child = new QTreeWidgetItem(
                parentItem,
                QStringList(QString(RawFileType::Description(type)) + "(" + ShownExtensions(type) + ")"));
            child->setIcon(0,
                           IconOf(QString("file.%1").arg(QString(RawFileType::Extension(type)).toLower())));
            child->setData(0, kTypeRole, type);
            child->setFlags(child->flags() | Qt::ItemIsUserCheckable);
            child->setCheckState(0, Qt::Unchecked);
        }
    }
    layout->addWidget(tree_, 1);
    connect(recoverRaw_, &QCheckBox::toggled, this, &CAdvanceSettingMasterDlg::UpdateRawEnabling);
    connect(maxSize_, &QLineEdit::textEdited, this, &CAdvanceSettingMasterDlg::OnMaxSizeEdited);
    return page;
}

void CAdvanceSettingMasterDlg::Load() {
    useBootRecords_->setChecked(working_.useBootRecords);
    usePartitionTables_->setChecked(working_.usePartitionTables);
    extensiveSearch_->setChecked(working_.extensiveVolumesSearch);
    fatDate_->setChecked(working_.fatCheckDate);
    fatTime_->setChecked(working_.fatCheckTime);
    fatThird_->setChecked(working_.fatThirdOption);
    fatFirstCopy_->setChecked(working_.fatUseFirstCopy);
    fatSecondCopy_->setChecked(working_.fatUseSecondCopy);
    ntfsVolumeSize_->setChecked(working_.ntfsVolumeSizeFromFiles);
    ntfsMft_->setChecked(working_.ntfsUseMftFile);
    ntfsMftOnly_->setChecked(working_.ntfsShowMftOnlyFiles);
    recoverRaw_->setChecked(working_.raw.recoverRawFiles);
    rawOnly_->setChecked(working_.raw.recoverRawFilesOnly);
    maxSize_->setText(QString::number(working_.raw.maxFileSize));
    TickTypes(working_.raw.chosenTypes);
    UpdateRawEnabling();
}

void CAdvanceSettingMasterDlg::SetTypesEditable(bool editable) {
    typesEditable_ = editable;
    UpdateRawEnabling();
}

void CAdvanceSettingMasterDlg::UpdateRawEnabling() {
    const bool raw = recoverRaw_->isChecked();
    rawOnly_->setEnabled(beforeScan_ && raw);
    tree_->setEnabled(typesEditable_ && raw);
}

void CAdvanceSettingMasterDlg::TickTypes(const std::vector<int>& types) {
    for (int g = 0; g < tree_->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = tree_->topLevelItem(g);
        for (int c = 0; c < group->childCount(); ++c) {
            QTreeWidgetItem* child = group->child(c);
            const bool chosen =
                std::find(types.begin(), types.end(), child->data(0, kTypeRole).toInt()) != types.end();
            child->setCheckState(0, chosen ? Qt::Checked : Qt::Unchecked);
        }
    }
}

void CAdvanceSettingMasterDlg::ShowPage(int page) {
    if (page < 0 || page >= kOptionPageCount) return;
    for (QPushButton* button : pageButtons_) button->setEnabled(true);
    pageButtons_[page]->setEnabled(false);
    pages_->setCurrentIndex(page);
    shown_[page] = true;
    current_ = page;
}

void CAdvanceSettingMasterDlg::RestoreDefaults() {
    if (shown_[kOptionPageCommon]) {
        useBootRecords_->setChecked(true);
        usePartitionTables_->setChecked(false);
        extensiveSearch_->setChecked(false);
    }
    if (shown_[kOptionPageFat])
        for (QCheckBox* box : {fatDate_, fatTime_, fatThird_, fatFirstCopy_, fatSecondCopy_})
            box->setChecked(true);
    if (shown_[kOptionPageNtfs]) {
        const ScanSettings defaults;
        ntfsVolumeSize_->setChecked(defaults.ntfsVolumeSizeFromFiles);
        ntfsMft_->setChecked(defaults.ntfsUseMftFile);
        ntfsMftOnly_->setChecked(defaults.ntfsShowMftOnlyFiles);
    }
    if (shown_[kOptionPageRaw]) {
        recoverRaw_->setChecked(true);
        rawOnly_->setChecked(false);
        maxSize_->setText("50000000");
        if (typesEditable_) {
            std::vector<int> all;
            for (int i = kFirstBuiltInRawType; i <= kLastBuiltInRawType; ++i) all.push_back(i);
            TickTypes(all);
        }
        UpdateRawEnabling();
    }
}

void CAdvanceSettingMasterDlg::OnMaxSizeEdited(const QString& text) {
    // A negative size would mean no file is ever kept: it becomes 0 and the field says so.
    if (text.toLongLong() < 0) maxSize_->setText(QString::number(0));
}

void CAdvanceSettingMasterDlg::accept() {
    if (shown_[kOptionPageCommon]) {
        working_.useBootRecords = useBootRecords_->isChecked();
        working_.usePartitionTables = usePartitionTables_->isChecked();
        working_.extensiveVolumesSearch = extensiveSearch_->isChecked();
    }
    if (shown_[kOptionPageFat]) {
        working_.fatCheckDate = fatDate_->isChecked();
        working_.fatCheckTime = fatTime_->isChecked();
        working_.fatThirdOption = fatThird_->isChecked();
        working_.fatUseFirstCopy = fatFirstCopy_->isChecked();
        working_.fatUseSecondCopy = fatSecondCopy_->isChecked();
    }
    if (shown_[kOptionPageNtfs]) {
        working_.ntfsVolumeSizeFromFiles = ntfsVolumeSize_->isChecked();
        working_.ntfsUseMftFile = ntfsMft_->isChecked();
        working_.ntfsShowMftOnlyFiles = ntfsMftOnly_->isChecked();
    }
    if (shown_[kOptionPageRaw]) {
        working_.raw.recoverRawFiles = recoverRaw_->isChecked();
        working_.raw.recoverRawFilesOnly = rawOnly_->isChecked();
        working_.raw.maxFileSize = std::max<qlonglong>(0, maxSize_->text().toLongLong());
        if (typesEditable_) {
            std::vector<int> ticked;
            for (int g = 0; g < tree_->topLevelItemCount(); ++g) {
                QTreeWidgetItem* group = tree_->topLevelItem(g);
                for (int c = 0; c < group->childCount(); ++c)
                    if (group->child(c)->checkState(0) == Qt::Checked)
                        ticked.push_back(group->child(c)->data(0, kTypeRole).toInt());
            }
            working_.raw.chosenTypes =
                ChosenTypesFromTicked(ticked, !GetTypeFilter().IsOff(), working_.raw.recoverRawFilesOnly);
        }
    }
    GetScanSettings() = working_;
    QDialog::accept();
}

void CAdvanceSettingMasterDlg::keyPressEvent(QKeyEvent* event) {
    if (!HandleHelpKey(event, kHelpOptionDialog)) QDialog::keyPressEvent(event);
}

}  // namespace keldrin::ui
