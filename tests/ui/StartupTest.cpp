#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTranslator>
#include <QUrl>

#include "tests/ui/UiFixtures.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/Help.h"
#include "ui/app/Startup.h"
#include "ui/controller/PageIndex.h"
#include "ui/dialogs/CAdvanceSettingMasterDlg.h"
#include "ui/wizard/CWizardSheet.h"

namespace keldrin::ui {
namespace {

TEST(StartupTest, TraceSwitchIsDashOrSlashAndTraceInAnyCase) {
    struct Case {
        QStringList arguments;
        bool trace;
    };
    const Case cases[] = {
        {{"keldrin", "-trace"}, true},      {{"keldrin", "/TRACE"}, true}, {{"keldrin", "-Trace"}, true},
        {{"keldrin", "x", "/tRaCe"}, true}, {{"keldrin", "trace"}, false}, {{"keldrin", "--trace"}, false},
        {{"keldrin", "-traces"}, false},    {{"/trace"}, false},           {{"keldrin"}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HasTraceSwitch(c.arguments), c.trace) << c.arguments.join(' ').toStdString();
}

TEST(StartupTest, OnlyOneCopyHoldsTheLockAndItIsFreedWithIt) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    QFile::setPermissions(runtime.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    {
        auto first = LockSingleCopy();
        ASSERT_TRUE(first);
        EXPECT_TRUE(QFile::exists(QDir(runtime.path()).filePath("QZ_Mutex_20121106")));
        EXPECT_FALSE(LockSingleCopy());
    }
    EXPECT_TRUE(LockSingleCopy());
    // The loader's lock is only tested: held by a live process it says so, and the test leaves no
    // lock behind.
    EXPECT_FALSE(LoaderIsRunning());
    {
        QLockFile loader(QDir(runtime.path()).filePath(kLoaderLockName));
        ASSERT_TRUE(loader.tryLock(0));
        EXPECT_TRUE(LoaderIsRunning());
    }
    EXPECT_FALSE(LoaderIsRunning());
    EXPECT_FALSE(QFile::exists(QDir(runtime.path()).filePath(kLoaderLockName)));
    qputenv("XDG_RUNTIME_DIR", saved);
}

TEST(StartupTest, EveryHelpContextHasAPageInBothLanguagesAndF1OpensTheDialogsPage) {
    qputenv("KELDRIN_HELP_DIR", QByteArray(KELDRIN_SOURCE_DIR) + "/ui/help");
    std::vector<int> ids = {kHelpOptionDialog, kHelpSearchDialogs, kHelpDiskImage};
    for (int page = 0; page < kPageCount; ++page) ids.push_back(HelpContextId(page));
    for (int id : ids)
        for (int language : {0, 1})
            EXPECT_FALSE(HelpPagePath(id, language).isEmpty()) << id << " " << language;
    EXPECT_TRUE(HelpPagePath(999, 0).isEmpty());

    QList<QUrl> opened;
    const auto saved = HelpOpener();
    HelpOpener() = [&opened](const QUrl& url) {
        opened << url;
        return true;
    };
    CAdvanceSettingMasterDlg options(true, nullptr);
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(&options, &f1);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].toLocalFile().endsWith("/en/46.html"));
    CWizardSheet sheet(nullptr);
    EXPECT_TRUE(sheet.ShowPageHelp(1));
    EXPECT_TRUE(opened.back().toLocalFile().endsWith("/de/15.html"));
    HelpOpener() = saved;
    qunsetenv("KELDRIN_HELP_DIR");
}

TEST(StartupTest, GermanIsLoadedOnlyForDeutsch) {
    struct Case {
        const char* language;
        bool german;
        const char* exitText;
    };
    const QByteArray saved = qgetenv("KELDRIN_LANGUAGE");
    for (const Case& c : {Case{"Deutsch", true, "Jetzt beenden?"}, Case{"English", false, "Exit now?"},
                          Case{"Francais", false, "Exit now?"}}) {
        qputenv("KELDRIN_LANGUAGE", c.language);
        QTranslator translator;
        EXPECT_EQ(InstallTranslation(*QCoreApplication::instance(), translator), c.german) << c.language;
        EXPECT_EQ(Tr("Exit now?"), c.exitText) << c.language;
        EXPECT_EQ(Tr("Keldrin has been running!"),
                  c.german ? "Keldrin läuft bereits!" : "Keldrin has been running!");
        QCoreApplication::removeTranslator(&translator);
    }
    qputenv("KELDRIN_LANGUAGE", saved);
}

TEST(StartupTest, MainWindowHasItsClientAreaNoMaximiseAndAsksBeforeClosing) {
    testing::ScriptedPrompts prompts;
    CMainFrame frame;
    frame.show();
    EXPECT_GE(frame.centralWidget()->minimumWidth(), kClientWidth);
    EXPECT_GE(frame.centralWidget()->minimumHeight(), kClientHeight);
    EXPECT_FALSE(frame.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(frame.windowTitle(), "Keldrin");

    prompts.onAsk = [](const QString&) { return false; };
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(frame.isVisible());
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0], "Exit now?");
    prompts.onAsk = [](const QString&) { return true; };
    EXPECT_TRUE(frame.close());
}

}  // namespace
}  // namespace keldrin::ui
