#include "ui/pages/CSaveFilePage.h"

#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTreeView>

#include "ui/app/Prompts.h"
#include "ui/controller/Format.h"
#include "ui/controller/PageIndex.h"

namespace keldrin::ui {
namespace {

QString Size(uint64_t bytes) {
    return QString::fromStdString(FormatSize(static_cast<int64_t>(std::min<uint64_t>(bytes, INT64_MAX))));
}

const QColor kUsed(70, 120, 190);
const QColor kFree(236, 184, 64);
const QColor kRequired(200, 70, 60);

}  // namespace

CSpacePie::CSpacePie(QWidget* parent) : QWidget(parent) {
    setObjectName("spacePie");
    setMinimumSize(220, 250);
}

void CSpacePie::SetSpace(bool known, uint64_t total, uint64_t free, uint64_t required) {
    known_ = known;
    total_ = total;
    free_ = std::min(free, total);
    required_ = required;
    update();
}

QStringList CSpacePie::LegendLines() const {
    const uint64_t used = known_ ? total_ - free_ : 0;
    return {Tr("Used Space : %1").arg(Size(used)), Tr("Free Space : %1").arg(Size(known_ ? free_ : 0)),
            Tr("Required Space : %1").arg(Size(required_))};
}

void CSpacePie::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width() - 20, height() - 90);
    const QRectF pie((width() - side) / 2.0, 8, side, side);
    painter.setPen(QPen(QColor(120, 120, 120), 1));
    if (!known_ || total_ == 0) {
        painter.setBrush(QColor(225, 225, 225));
        painter.drawEllipse(pie);
    } else {
        // Angles in sixteenths of a degree, from twelve o'clock clockwise: used, then free, with
        // the required share drawn over the start of the free part.
        auto span = [this](uint64_t part) {
            return static_cast<int>(-5760.0 * double(part) / double(total_));
        };
        const int start = 90 * 16;
        const int used = span(total_ - free_);
        painter.setBrush(kUsed);
        painter.drawPie(pie, start, used);
        painter.setBrush(kFree);
        painter.drawPie(pie, start + used, span(free_));
        if (required_ > 0) {
            painter.setBrush(kRequired);
            painter.drawPie(pie, start + used, span(std::min(required_, total_)));
        }
    }
    const QStringList lines = LegendLines();
    const QColor colours[3] = {kUsed, kFree, kRequired};
    int y = static_cast<int>(pie.bottom()) + 12;
    for (int i = 0; i < 3; ++i, y += 22) {
        painter.setBrush(colours[i]);
        painter.drawRect(10, y, 14, 14);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(32, y - 2, width() - 36, 18), Qt::AlignVCenter | Qt::AlignLeft, lines[i]);
        painter.setPen(QPen(QColor(120, 120, 120), 1));
    }
}

CSaveFilePage::CSaveFilePage(CSaveFileController& controller, QWidget* parent)
    : CWizardPage(&controller, HelpContextId(kPageSaveFile), parent), controller_(controller) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(16, 10, 16, 8);
    auto* heading = new QLabel(Tr("Select a folder to save the recovered files:"), this);
    heading->setObjectName("pageTitle");
    layout->addWidget(heading, 0, 0, 1, 3);
    layout->addWidget(new QLabel(Tr("Path"), this), 1, 0);
    path_ = new QLineEdit(this);
    path_->setObjectName("savePath");
    layout->addWidget(path_, 1, 1);
    folders_ = new QTreeView(this);
    folders_->setObjectName("saveFolders");
    folders_->setHeaderHidden(true);
    layout->addWidget(folders_, 2, 0, 1, 2);
    pie_ = new CSpacePie(this);
    layout->addWidget(pie_, 1, 2, 2, 1);
    required_ = new QLabel(this);
    required_->setObjectName("requiredLine");
    layout->addWidget(required_, 3, 0, 1, 3);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);
    connect(path_, &QLineEdit::textChanged, this, &CSaveFilePage::PathChanged);
}

void CSaveFilePage::OnShow() {
    if (!model_) {
        // Made on first show: watching the computer's folders costs a thread and inotify watches.
        model_ = new QFileSystemModel(this);
        model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
        model_->setRootPath("/");
        folders_->setModel(model_);
        for (int c = 1; c < model_->columnCount(); ++c) folders_->hideColumn(c);
        folders_->setRootIndex(model_->index("/"));
        connect(folders_->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this](const QModelIndex& current) {
                    if (current.isValid()) path_->setText(model_->filePath(current));
                });
        const QModelIndex home = model_->index(QDir::homePath());
        folders_->setCurrentIndex(QModelIndex());
        folders_->scrollTo(home);
        folders_->expand(home.parent());
    }
    {
        QSignalBlocker block(path_);
        path_->setText(QString::fromStdString(controller_.GetPath()));
    }
    required_->setText(Tr("%1 files selected, %2 required.")
                           .arg(controller_.SelectedCount())
                           .arg(Size(controller_.RequiredSize())));
    PathChanged(path_->text());
}

void CSaveFilePage::PathChanged(const QString& text) {
    controller_.SetPath(text.toStdString());
    const platform::DriveSpace& space = controller_.Space();
    pie_->SetSpace(space.known, space.total, space.available, controller_.RequiredSize());
}

}  // namespace keldrin::ui
