#include "ui/dialogs/CSearchFileDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "engine/model/CollectMatchingFiles.h"
#include "engine/model/FileTime.h"
#include "engine/model/FileTypeCatalogue.h"
#include "ui/app/Help.h"
#include "ui/app/Prompts.h"

namespace keldrin::ui {
namespace {

QLineEdit* NumberEdit(int digits, const QString& text, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setMaxLength(digits);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
    edit->setFixedWidth(90);
    return edit;
}

// The number of a field within [low, high], or the message and false.
bool ReadNumber(QWidget* parent, const QLineEdit* edit, uint64_t low, uint64_t high, uint64_t& value) {
    bool ok = false;
    value = edit->text().toULongLong(&ok);
    if (ok && value >= low && value <= high) return true;
    GetPrompts().inform(parent, Tr("Please enter an integer between %1 and %2.").arg(low).arg(high));
    return false;
}

uint64_t PickedTime(const QDateEdit* date, const QTimeEdit* time) {
    const QDate d = date->date();
    const QTime t = time->time();
    uint64_t value = 0;
    CivilToFileTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), value);
    return value;
}

}  // namespace

QString LocationPath(const CFileNode* node) {
    QStringList names;
    for (; node && node->GetParent(); node = node->GetParent())
        names.prepend(QString::fromUtf8(node->GetProperties() ? node->GetProperties()->GetName() : ""));
    return names.join('/');
}

CSearchFileDlg::CSearchFileDlg(CFileSystemNode* top, CFileNode* current, QWidget* parent)
    : QDialog(parent), top_(top) {
    setObjectName("searchFile");
    setWindowTitle(Tr("Search files"));
    auto* layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);
    pages_->addTab(NamePage(current), Tr("Name && Location"));
    pages_->addTab(TypePage(), Tr("Type"));
    pages_->addTab(DatePage(), Tr("Date"));
    pages_->addTab(SizePage(), Tr("Size"));
    pages_->addTab(OtherPage(), Tr("Others"));
    layout->addWidget(pages_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* search = buttons->addButton(Tr("Search"), QDialogButtonBox::AcceptRole);
    search->setObjectName("search");
    buttons->addButton(Tr("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSearchFileDlg::Search);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    for (QCheckBox* box : {byType_, byDate_, bySize_, other_})
        connect(box, &QCheckBox::toggled, this, &CSearchFileDlg::EnablePages);
    for (QRadioButton* radio : {lastMonths_, lastDays_, between_})
        connect(radio, &QRadioButton::toggled, this, &CSearchFileDlg::EnablePages);
    EnablePages();
    resize(460, 360);
}

QWidget* CSearchFileDlg::NamePage(CFileNode* current) {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(Tr("File name:"), page), 0, 0);
    name_ = new QLineEdit(page);
    name_->setObjectName("searchName");
    name_->setMaxLength(static_cast<int>(kMaxSearchName));
    grid->addWidget(name_, 0, 1);
    grid->addWidget(new QLabel(Tr("Search location:"), page), 1, 0);
    location_ = new QComboBox(page);
    location_->setObjectName("location");
    // Everywhere, then the top-level node holding the current folder, then the folder itself.
    CFileNode* topLevel = current;
    while (topLevel && topLevel->GetParent() && topLevel->GetParent() != top_)
        topLevel = topLevel->GetParent();
    location_->addItem(Tr("(Everywhere)"), QVariant::fromValue(static_cast<void*>(top_)));
    if (topLevel && topLevel != top_)
        location_->addItem(LocationPath(topLevel), QVariant::fromValue(static_cast<void*>(topLevel)));
    if (current && current != topLevel && current != top_)
        location_->addItem(LocationPath(current), QVariant::fromValue(static_cast<void*>(current)));
    grid->addWidget(location_, 1, 1);
    autoSelect_ = new QCheckBox(Tr("Auto select files"), page);
    autoSelect_->setChecked(true);
    grid->addWidget(autoSelect_, 2, 1);
    grid->setRowStretch(3, 1);
    return page;
}

QWidget* CSearchFileDlg::TypePage() {
    auto* page = new QWidget(this);
    auto* box = new QVBoxLayout(page);
    byType_ = new QCheckBox(Tr("File type:"), page);
    box->addWidget(byType_);
    types_ = new QListWidget(page);
    types_->setObjectName("types");
    for (const FileTypeChoice& choice : FileTypeCatalogue::Shared().GetChoices()) {
        auto* item = new QListWidgetItem(QString::fromStdString(choice.display), types_);
        item->setData(Qt::UserRole, QString::fromStdString(choice.extensions));
        item->setToolTip(QString::fromStdString(choice.extensions));
    }
    if (types_->count() > 0) types_->setCurrentRow(0);
    box->addWidget(types_);
    return page;
}

QWidget* CSearchFileDlg::DatePage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    byDate_ = new QCheckBox(Tr("Date:"), page);
    grid->addWidget(byDate_, 0, 0);
    dateWhich_ = new QComboBox(page);
    dateWhich_->addItems({Tr("Modified"), Tr("Created"), Tr("Accessed")});
    grid->addWidget(dateWhich_, 0, 1, 1, 3);
    lastMonths_ = new QRadioButton(Tr("in last"), page);
    lastMonths_->setChecked(true);
    months_ = NumberEdit(3, "1", page);
    grid->addWidget(lastMonths_, 1, 0);
    grid->addWidget(months_, 1, 1);
    grid->addWidget(new QLabel(Tr("month."), page), 1, 2);
    lastDays_ = new QRadioButton(Tr("in last"), page);
    days_ = NumberEdit(2, "1", page);
    grid->addWidget(lastDays_, 2, 0);
    grid->addWidget(days_, 2, 1);
    grid->addWidget(new QLabel(Tr("days."), page), 2, 2);
    between_ = new QRadioButton(Tr("from"), page);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    fromDate_ = new QDateEdit(now.date().addMonths(-1), page);
    fromTime_ = new QTimeEdit(QTime(0, 0), page);
    toDate_ = new QDateEdit(now.date(), page);
    toTime_ = new QTimeEdit(QTime(23, 59, 59), page);
    for (QDateEdit* d : {fromDate_, toDate_}) {
        d->setCalendarPopup(true);
        d->setMinimumDate(QDate(1601, 1, 1));
    }
    for (QTimeEdit* t : {fromTime_, toTime_}) t->setDisplayFormat("HH:mm:ss");
    grid->addWidget(between_, 3, 0);
    grid->addWidget(fromDate_, 3, 1);
    grid->addWidget(fromTime_, 3, 2);
    grid->addWidget(new QLabel(Tr("up to"), page), 4, 0, Qt::AlignRight);
    grid->addWidget(toDate_, 4, 1);
    grid->addWidget(toTime_, 4, 2);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(3, 1);
    return page;
}

QWidget* CSearchFileDlg::SizePage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    bySize_ = new QCheckBox(Tr("Size:"), page);
    grid->addWidget(bySize_, 0, 0);
    sizeWhich_ = new QComboBox(page);
    sizeWhich_->addItems({Tr("less than"), Tr("more than")});
    grid->addWidget(sizeWhich_, 0, 1);
    sizeKb_ = NumberEdit(10, "0", page);
    grid->addWidget(sizeKb_, 0, 2);
    grid->addWidget(new QLabel(Tr("KB"), page), 0, 3);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(4, 1);
    return page;
}

QWidget* CSearchFileDlg::OtherPage() {
    auto* page = new QWidget(this);
    auto* box = new QVBoxLayout(page);
    other_ = new QCheckBox(Tr("Other Parameters:"), page);
    caseSensitive_ = new QCheckBox(Tr("Case sensitive"), page);
    includeEncrypted_ = new QCheckBox(Tr("Include encrypted files"), page);
    includeEncrypted_->setChecked(true);
    box->addWidget(other_);
    box->addWidget(caseSensitive_);
    box->addWidget(includeEncrypted_);
    box->addStretch();
    return page;
}

void CSearchFileDlg::EnablePages() {
    types_->setEnabled(byType_->isChecked());
    const bool date = byDate_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{dateWhich_, lastMonths_, lastDays_, between_})
        w->setEnabled(date);
    months_->setEnabled(date && lastMonths_->isChecked());
    days_->setEnabled(date && lastDays_->isChecked());
    for (QWidget* w : std::initializer_list<QWidget*>{fromDate_, fromTime_, toDate_, toTime_})
        w->setEnabled(date && between_->isChecked());
    sizeWhich_->setEnabled(bySize_->isChecked());
    sizeKb_->setEnabled(bySize_->isChecked());
    caseSensitive_->setEnabled(other_->isChecked());
    includeEncrypted_->setEnabled(other_->isChecked());
}

bool CSearchFileDlg::ReadValues(SearchValues& values) {
    values = SearchValues{};
    const QByteArray name = name_->text().toUtf8();
    values.name = name.isEmpty() ? "*" : name.toStdString();
    values.autoSelect = autoSelect_->isChecked();
    values.start = static_cast<CFileNode*>(location_->currentData().value<void*>());
    if (byType_->isChecked()) {
        values.flags |= kSearchByType;
        if (QListWidgetItem* item = types_->currentItem())
            values.extensions = item->data(Qt::UserRole).toString().toStdString();
    }
    if (byDate_->isChecked()) {
        values.flags |= kSearchByDate;
        const int32_t which = 1 << dateWhich_->currentIndex();
        uint64_t n = 0;
        if (lastMonths_->isChecked()) {
            if (!ReadNumber(this, months_, 1, kMaxLastMonths, n)) return false;
            DateCriterion::InLastMonths(which, static_cast<int>(n), FileTimeNow(), values.date);
        } else if (lastDays_->isChecked()) {
            if (!ReadNumber(this, days_, 1, kMaxLastDays, n)) return false;
            DateCriterion::InLastDays(which, static_cast<int>(n), FileTimeNow(), values.date);
        } else {
            values.date.which = which;
            values.date.from = PickedTime(fromDate_, fromTime_);
            values.date.to = PickedTime(toDate_, toTime_);
        }
    }
    if (bySize_->isChecked()) {
        values.flags |= kSearchBySize;
        uint64_t kb = 0;
        if (!ReadNumber(this, sizeKb_, 0, kMaxSizeKb, kb)) return false;
        SizeCriterion::FromKb(sizeWhich_->currentIndex() + 1, kb, values.size);
    }
    if (other_->isChecked()) {
        values.flags |= kSearchOther;
        values.caseSensitive = caseSensitive_->isChecked() ? 1 : 0;
        values.includeEncrypted = includeEncrypted_->isChecked() ? 1 : 0;
    }
    return true;
}

void CSearchFileDlg::Search() {
    SearchValues values;
    if (!ReadValues(values)) return;
    results_.clear();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool found = SearchFiles(values, top_, results_);
    QApplication::restoreOverrideCursor();
    if (!found) {
        GetPrompts().inform(this, Tr(kNoFilesMatchMessage));
        reject();
        return;
    }
    accept();
}

void CSearchFileDlg::keyPressEvent(QKeyEvent* event) {
    if (!HandleHelpKey(event, kHelpSearchDialogs)) QDialog::keyPressEvent(event);
}

}  // namespace keldrin::ui
