// The message boxes of the wizard, all titled "Keldrin". Process-wide and replaceable, so tests
// answer the questions themselves instead of meeting a modal box.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace keldrin::ui {

struct Prompts {
    // A Yes/No question; true for Yes.
    std::function<bool(QWidget* parent, const QString& text)> ask;
    std::function<void(QWidget* parent, const QString& text)> inform;
    // The tip with a "Do not show this again" box; true when the box was ticked.
    std::function<bool(QWidget* parent, const QString& text)> tip;
    // The same as inform, with the warning icon.
    std::function<void(QWidget* parent, const QString& text)> warn;
    // The save dialog for one file: the suggested name and the filter; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& name, const QString& filter)> savePath;
};

// Starts as message boxes.
Prompts& GetPrompts();

// The English original as the current language shows it.
QString Tr(const char* text);

}  // namespace keldrin::ui
