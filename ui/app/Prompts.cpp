#include "ui/app/Prompts.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QMessageBox>

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

bool TipBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Information, kTitle, text, QMessageBox::Ok, parent);
    auto* check = new QCheckBox(Tr("Do not show this again"), &box);
    box.setCheckBox(check);
    box.exec();
    return check->isChecked();
}

}  // namespace

Prompts& GetPrompts() {
    static Prompts prompts{AskBox, InformBox, TipBox};
    return prompts;
}

QString Tr(const char* text) {
    return QCoreApplication::translate("Keldrin", text);
}

}  // namespace keldrin::ui
