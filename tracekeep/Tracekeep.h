/* Tracekeep: the diagnostic log of Keldrin. Plain C entry points; every call is safe at any time,
 * from any thread, and never fails its caller: before InitLog, or when the log file cannot be
 * written, calls do nothing. Formats follow printf and also accept the "%I64d" family. */
#ifndef TRACEKEEP_H
#define TRACEKEEP_H

#ifdef __cplusplus
extern "C" {
#endif

#define TRACEKEEP_API __attribute__((visibility("default")))

typedef enum LOGLEVEL {
    LOGLEVEL_TRACE = 1,   /* every call is written */
    LOGLEVEL_RELEASE = 2  /* DebugTrace is left out */
} LOGLEVEL;

typedef enum LOGTYPE {
    LOGTYPE_NORMAL = 0,
    LOGTYPE_LOADER = 1 /* started while a loader of the program was running */
} LOGTYPE;

TRACEKEEP_API void InitLog(const char* path, LOGLEVEL level, LOGTYPE type);
TRACEKEEP_API void ReleaseTrace(const char* format, ...);
TRACEKEEP_API void DebugTrace(const char* format, ...);
TRACEKEEP_API void LogInfo(const char* format, ...);
TRACEKEEP_API void LogError(const char* format, ...);

#ifdef __cplusplus
}
#endif

#endif
