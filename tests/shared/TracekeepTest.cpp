#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tracekeep/FormatRewrite.h"
#include "tracekeep/Tracekeep.h"

namespace {

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST(Tracekeep, RewritesWindowsWidthPrefixes) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"Sector %I64d", "Sector %lld"},
        {"%I64u/%I64x", "%llu/%llx"},
        {"%08I64X", "%08llX"},
        {"%I32u", "%u"},
        {"100%% %I64d", "100%% %lld"},
        {"%s curSector %I64d dwElapsedTime %u \n", "%s curSector %lld dwElapsedTime %u \n"},
        {"%d %ld %lld", "%d %ld %lld"},
    };
    for (const Case& c : cases) EXPECT_EQ(tracekeep::RewriteFormat(c.in), c.out) << c.in;
}

TEST(Tracekeep, LevelsThreadsAndSilentFailure) {
    // Calls before InitLog and with an unwritable folder do nothing.
    ReleaseTrace("before init %d", 1);
    InitLog("/nonexistent-folder/x/Ostrevan.log", LOGLEVEL_TRACE, LOGTYPE_NORMAL);
    LogError("lost %s", "line");

    const auto dir = std::filesystem::temp_directory_path() / ("tracekeep-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const auto release = dir / "release.log";
    InitLog(release.c_str(), LOGLEVEL_RELEASE, LOGTYPE_NORMAL);
    ReleaseTrace("Build Lost Cluster %d Sector %I64d", 7, static_cast<long long>(1) << 40);
    DebugTrace("hidden at level two");
    LogInfo("info %s", "line");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 50; ++i) LogInfo("thread %d line %d", t, i);
        });
    for (auto& th : threads) th.join();

    const auto trace = dir / "trace.log";
    InitLog(trace.c_str(), LOGLEVEL_TRACE, LOGTYPE_LOADER);
    DebugTrace("shown at level one %I64d", static_cast<long long>(-5));
    InitLog("", LOGLEVEL_TRACE, LOGTYPE_NORMAL);  // closes the file; further calls are silent
    LogError("after close");

    const std::string r = ReadAll(release);
    EXPECT_NE(r.find("Build Lost Cluster 7 Sector 1099511627776"), std::string::npos) << r;
    EXPECT_EQ(r.find("hidden at level two"), std::string::npos);
    EXPECT_NE(r.find("thread 3 line 49"), std::string::npos);
    EXPECT_EQ(r.find("before init"), std::string::npos);
    const std::string t = ReadAll(trace);
    EXPECT_NE(t.find("shown at level one -5"), std::string::npos) << t;
    EXPECT_EQ(t.find("after close"), std::string::npos);
    std::filesystem::remove_all(dir);
}

}  // namespace
