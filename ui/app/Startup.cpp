#include "ui/app/Startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTranslator>

#include "platform/Language.h"

namespace keldrin::ui {

bool HasTraceSwitch(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a.size() == 6 && (a[0] == u'-' || a[0] == u'/') &&
            a.mid(1).compare("trace", Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString LockFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QDir::tempPath() : folder;
}

bool LoaderIsRunning() {
    QLockFile lock(QDir(LockFolder()).filePath(kLoaderLockName));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) return lock.error() == QLockFile::LockFailedError;
    lock.unlock();
    return false;
}

std::unique_ptr<QLockFile> LockSingleCopy() {
    auto lock = std::make_unique<QLockFile>(QDir(LockFolder()).filePath("QZ_Mutex_20121106"));
    // A lock left by a copy that crashed is taken over; a live copy keeps it.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return nullptr;
    return lock;
}

bool InstallTranslation(QCoreApplication& app, QTranslator& translator) {
    if (platform::CurrentLanguage() != platform::kGerman) return false;
    if (!translator.load(":/i18n/keldrin_de.qm")) return false;
    return app.installTranslator(&translator);
}

}  // namespace keldrin::ui
