// The wizard: the header picture, the stack of the eleven pages and the button strip with the menu,
// Home, Back and Next. It is also the controllers' host: it shows pages, message boxes, the waiting
// notice and runs the tree builds under their dialog.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <memory>

#include "ui/controller/CWizardControllers.h"
#include "ui/controller/IWizardHost.h"

class QPushButton;
class QStackedWidget;

namespace keldrin::ui {

class CWaitingDlg;
class CWizardPage;

inline constexpr int kHeaderHeightModePage = 57;
inline constexpr int kHeaderHeight = 72;
inline constexpr int kButtonStripHeight = 53;

class CWizardSheet final : public QWidget, public IWizardHost {
    Q_OBJECT
  public:
    explicit CWizardSheet(QWidget* parent);
    ~CWizardSheet() override;

    CWizardControllers& Controllers() { return *controllers_; }
    int CurrentIndex() const { return current_; }
    CWizardPage* GetCurrentPage() const;
    CWizardPage* Page(int index) const;
    QPushButton* HomeButton() const { return home_; }
    QPushButton* BackButton() const { return back_; }
    QPushButton* NextButton() const { return next_; }
    void EnableNext(bool enable);
    // The frame's Ctrl+O, passed to the current page.
    void OpenImageCommand();
    // The frame buttons.
    void Home();
    void Back();
    void Next();
    // The menu's "Help" and F1: the online help.
    void ShowHelp();
    // The shipped page of the current page's help context id (language 0 English, 1 German).
    bool ShowPageHelp(int language);

    // IWizardHost
    void ShowPage(int index) override;
    void ShowMessage(const char* text) override;
    void ShowWarning(const char* text) override;
    bool Ask(const char* text) override;
    RecoveryRun RunRecovery(CFileSystemNode* root, IStorageDevice* device,
                            const std::string& destination) override;
    void BeginWaiting() override;
    void EndWaiting() override;
    bool RunBuild(const std::function<void(IDIRBuildCallback&)>& work) override;
    bool ShowTip(const char* text) override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Layout();
    void SetBusy(bool busy);

    std::unique_ptr<CWizardControllers> controllers_;
    QStackedWidget* stack_;
    CWizardPage* pages_[kPageCount] = {};
    QPushButton* menu_;
    QPushButton* home_;
    QPushButton* back_;
    QPushButton* next_;
    std::unique_ptr<CWaitingDlg> waiting_;
    int current_ = 0;
};

}  // namespace keldrin::ui
