#include "ui/dialogs/QtMessagePump.h"

#include <QCoreApplication>

#include "platform/Worker.h"

namespace keldrin::ui {

void InstallQtMessagePump() {
    platform::SetMessagePump([] { QCoreApplication::processEvents(QEventLoop::AllEvents, 5); });
}

}  // namespace keldrin::ui
