#include "tracekeep/Tracekeep.h"

#include <spdlog/sinks/basic_file_sink.h>
#include <spdlog/spdlog.h>

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "tracekeep/FormatRewrite.h"

namespace {

std::mutex g_mutex;
std::shared_ptr<spdlog::logger> g_logger;  // guarded by g_mutex for replacement; logging is _mt

std::shared_ptr<spdlog::logger> CurrentLogger() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_logger;
}

void Write(spdlog::level::level_enum level, const char* format, va_list args) {
    if (!format) return;
    std::shared_ptr<spdlog::logger> logger = CurrentLogger();
    if (!logger) return;
    try {
        const std::string fmt = tracekeep::RewriteFormat(format);
        char small[1024];
        va_list copy;
        va_copy(copy, args);
        const int n = std::vsnprintf(small, sizeof small, fmt.c_str(), copy);
        va_end(copy);
        if (n < 0) return;
        std::string text;
        if (static_cast<size_t>(n) < sizeof small) {
            text.assign(small, static_cast<size_t>(n));
        } else {
            text.resize(static_cast<size_t>(n) + 1);
            std::vsnprintf(text.data(), text.size(), fmt.c_str(), args);
            text.resize(static_cast<size_t>(n));
        }
        // Callers end many lines with "\n"; the sink adds its own.
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        logger->log(level, "{}", text);
    } catch (...) {
        // The log never fails its caller.
    }
}

}  // namespace

extern "C" {

void InitLog(const char* path, LOGLEVEL level, LOGTYPE type) {
    std::shared_ptr<spdlog::logger> logger;
    try {
        if (path && *path) {
            auto sink = std::make_shared<spdlog::sinks::basic_file_sink_mt>(path, false);
            logger = std::make_shared<spdlog::logger>("tracekeep", std::move(sink));
            logger->set_pattern("%Y-%m-%d %H:%M:%S.%e [%t] %L %v");
            logger->set_level(level == LOGLEVEL_TRACE ? spdlog::level::trace : spdlog::level::debug);
            logger->flush_on(spdlog::level::trace);
            logger->info("log opened (level {}, type {})", static_cast<int>(level), static_cast<int>(type));
        }
    } catch (...) {
        logger.reset();  // a missing or unwritable folder leaves the log silent
    }
    std::lock_guard<std::mutex> lock(g_mutex);
    g_logger = std::move(logger);
}

void ReleaseTrace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    Write(spdlog::level::debug, format, args);
    va_end(args);
}

void DebugTrace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    Write(spdlog::level::trace, format, args);
    va_end(args);
}

void LogInfo(const char* format, ...) {
    va_list args;
    va_start(args, format);
    Write(spdlog::level::info, format, args);
    va_end(args);
}

void LogError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    Write(spdlog::level::err, format, args);
    va_end(args);
}

}  // extern "C"
