#include "ui/app/CKPXApp.h"

int main(int argc, char** argv) {
    keldrin::ui::CKPXApp app(argc, argv);
    if (!app.InitInstance()) return 0;
    return app.exec();
}
