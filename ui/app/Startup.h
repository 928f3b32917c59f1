// The decisions taken at start: the trace switch, the one running copy and the language.
#pragma once

#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>

class QCoreApplication;
class QTranslator;

namespace keldrin::ui {

// An argument after the program's name made of "-" or "/" and "trace", in any case.
bool HasTraceSwitch(const QStringList& arguments);

// The lock of the one running copy, "QZ_Mutex_20121106" in the runtime folder (the temporary folder
// when there is none). Null when another copy holds it.
std::unique_ptr<QLockFile> LockSingleCopy();

// The loader's lock, "KPX_Loader_{E1AB3D3B-FEBF-4281-BD7E-5655BE739E67}" in the same folder, is only
// tested: true when a live process holds it, which the log records.
inline constexpr const char* kLoaderLockName = "KPX_Loader_{E1AB3D3B-FEBF-4281-BD7E-5655BE739E67}";
bool LoaderIsRunning();
// The folder of both locks.
QString LockFolder();

// Installs the German translation when the chosen language (the settings key Language/Language of
// Ostrevan/Keldrin, read by the platform layer as the engine reads it) is "Deutsch"; false when
// the built-in English stays.
bool InstallTranslation(QCoreApplication& app, QTranslator& translator);

}  // namespace keldrin::ui
