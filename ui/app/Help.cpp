#include "ui/app/Help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QUrl>

namespace keldrin::ui {

QString HelpFolder() {
    QStringList candidates;
    if (const QString env = qEnvironmentVariable("KELDRIN_HELP_DIR"); !env.isEmpty()) candidates << env;
    const QString program = QCoreApplication::applicationDirPath();
    candidates << QDir(program).filePath("help") << QDir(program).filePath("../share/keldrin/help");
    for (const QString& folder : candidates)
        if (QFileInfo(folder).isDir()) return QDir(folder).canonicalPath();
    return {};
}

QString HelpPagePath(int contextId, int language) {
    const QString folder = HelpFolder();
    if (folder.isEmpty()) return {};
    const QString page =
        QDir(folder).filePath(QStringLiteral("%1/%2.html").arg(language == 1 ? "de" : "en").arg(contextId));
    return QFileInfo(page).isFile() ? page : QString();
}

std::function<bool(const QUrl&)>& HelpOpener() {
    static std::function<bool(const QUrl&)> opener = [](const QUrl& url) {
        return QDesktopServices::openUrl(url);
    };
    return opener;
}

bool OpenHelp(int contextId, int language) {
    const QString page = HelpPagePath(contextId, language);
    return !page.isEmpty() && HelpOpener()(QUrl::fromLocalFile(page));
}

bool OpenOnlineHelp() {
    return HelpOpener()(QUrl(QString::fromLatin1(kOnlineHelpAddress)));
}

bool HandleHelpKey(QKeyEvent* event, int contextId) {
    if (event->key() != Qt::Key_F1) return false;
    OpenHelp(contextId, 0);
    event->accept();
    return true;
}

}  // namespace keldrin::ui
