// The application: language, one running copy, the log and the main window.
#pragma once

#include <QApplication>
#include <QLockFile>
#include <QTranslator>
#include <memory>

namespace keldrin::ui {

class CMainFrame;

class CKPXApp final : public QApplication {
    Q_OBJECT
  public:
    CKPXApp(int& argc, char** argv);
    ~CKPXApp() override;
    // False when the program is to end at once (another copy runs).
    bool InitInstance();

  private:
    QTranslator translator_;
    std::unique_ptr<QLockFile> singleCopy_;
    std::unique_ptr<CMainFrame> mainFrame_;
};

}  // namespace keldrin::ui
