#include "ui/app/Prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "ui/dialogs/CHasCheckboxPromptDlg.h"

namespace keldrin::ui {
namespace {

constexpr const char* kTitle = "Keldrin";

bool AskBox(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, kTitle, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void InformBox(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, kTitle, text);
}

void WarnBox(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, kTitle, text);
}

QString SavePathBox(QWidget* parent, const QString& name, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, kTitle, QDir::home().filePath(name), filter);
}

bool TipBox(QWidget* parent, const QString& text) {
    CHasCheckboxPromptDlg tip(text, parent);
    tip.exec();
    return tip.DoNotShowAgain();
}

}  // namespace

Prompts& GetPrompts() {
    static Prompts prompts{AskBox, InformBox, TipBox, WarnBox, SavePathBox};
    return prompts;
}

QString Tr(const char* text) {
    return QCoreApplication::translate("Keldrin", text);
}

}  // namespace keldrin::ui
