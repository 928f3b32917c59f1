#include "ui/dialogs/CWaitingDlg.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/app/Prompts.h"

namespace keldrin::ui {

CWaitingDlg::CWaitingDlg(QWidget* parent, const QString& message)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName("waiting");
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(message.isEmpty() ? Tr("Please wait, scanning system...") : message, this);
    text->setWordWrap(!message.isEmpty());
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    layout->setContentsMargins(32, 20, 32, 20);
    setStyleSheet("QDialog { background: white; border: 1px solid #6fa8d6; }");
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitingDlg::~CWaitingDlg() {
    QApplication::restoreOverrideCursor();
}

void CWaitingDlg::ShowNow() {
    adjustSize();
    if (QWidget* p = parentWidget()) move(p->window()->geometry().center() - rect().center());
    show();
    QCoreApplication::processEvents();
}

}  // namespace keldrin::ui
