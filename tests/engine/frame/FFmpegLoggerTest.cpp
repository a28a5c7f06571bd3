// The engine logger: levels, the libraries' messages through its callback, engine messages,
// the single instance and delivery on the main thread.
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/LibBindings.h"
#include "engine/frame/LogLabel.h"
#include "engine/frame/MainThread.h"
#include "engine/frame/ThreadId.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

using namespace kestrova;

namespace {

struct TLogLine {
    const void* Sender;
    uint32_t ThreadId;
    TLogLevel Level;
    std::string Text;
};

// A library context of our own: any struct whose first member is its AVClass pointer.
const AVClass* TestClass() {
    static AVClass avClass = [] {
        AVClass c{};
        c.class_name = "TestContext";
        c.item_name = ff::av_default_item_name;
        c.version = LIBAVUTIL_VERSION_INT;
        return c;
    }();
    avClass.item_name = ff::av_default_item_name;
    return &avClass;
}
struct TTestContext {
    const AVClass* Class = TestClass();
};

std::string PrefixOf(const void* context) {
    char text[64];
    std::snprintf(text, sizeof text, "[TestContext @ %016llX]",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(context)));
    return text;
}

// A logger of the test's own (the one instance while it lives), with the libraries bound and
// its hook installed; lines are collected on the producing thread unless a test asks otherwise.
class LoggerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
        TFFLogger::FreeOwnedInstance();
        ASSERT_FALSE(TFFLogger::HasInstance());
        FLogger = std::make_unique<TFFLogger>();
        FLogger->TriggerEventInMainThread = false;
        FLogger->OnLog = [this](const void* sender, uint32_t id, TLogLevel level, const std::string& text) {
            std::lock_guard lock(FLock);
            FLines.push_back({sender, id, level, text});
        };
        FLogger->InstallHook();
        FLogger->SetLogLevel(llInfo);
    }
    void TearDown() override {
        FLogger->SetLogLevel(llInfo);
        FLogger.reset();
    }
    std::vector<TLogLine> Lines() {
        std::lock_guard lock(FLock);
        return FLines;
    }
    std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (const TLogLine& line : Lines()) texts.push_back(line.Text);
        return texts;
    }

    std::unique_ptr<TFFLogger> FLogger;
    std::mutex FLock;
    std::vector<TLogLine> FLines;
};

using Expected = std::vector<std::string>;

}  // namespace

TEST(LogLevels, ToAndFromLibraryLevels) {
    EXPECT_EQ(LogLevelToLibrary(llQuiet), -8);
    EXPECT_EQ(LogLevelToLibrary(llPanic), 0);
    EXPECT_EQ(LogLevelToLibrary(llInfo), 32);
    EXPECT_EQ(LogLevelToLibrary(llDebug), 48);
    for (int ordinal = llQuiet; ordinal <= llDebug; ++ordinal) {
        const auto level = static_cast<TLogLevel>(ordinal);
        EXPECT_EQ(LogLevelFromLibrary(LogLevelToLibrary(level)), level);
    }
    EXPECT_EQ(LogLevelFromLibrary(17), llError);
    EXPECT_EQ(LogLevelFromLibrary(-9), llQuiet);
    EXPECT_EQ(LogLevelFromLibrary(-16), llQuiet);
    EXPECT_EQ(LogLevelFromLibrary(56), llDebug);
    EXPECT_EQ(LogLevelFromLibrary(99), llDebug);
}

TEST(LogLevels, LevelTextNamesOrNumbers) {
    EXPECT_EQ(LibraryLogLevelFromText("WaRnInG"), 24);
    EXPECT_EQ(LibraryLogLevelFromText("quiet"), -8);
    EXPECT_EQ(LibraryLogLevelFromText("DEBUG"), 48);
    EXPECT_EQ(LibraryLogLevelFromText("17"), 17);
    EXPECT_EQ(LibraryLogLevelFromText("-9"), -9);
    for (const char* bad : {"", "loud", "12abc", "1.5", "--3", "99999999999"}) {
        try {
            LibraryLogLevelFromText(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find(std::string("'") + bad + "'"), std::string::npos);
        }
    }
}

TEST_F(LoggerTest, SetLevelFromTextAppliesToTheLibrary) {
    FLogger->SetLogLevelFromText("warning");
    EXPECT_EQ(FLogger->LogLevel(), llWarning);
    EXPECT_EQ(ff::av_log_get_level(), 24);
    EXPECT_EQ(CurrentLibraryLogLevel(), 24);
    FLogger->SetLogLevelFromText("17");
    EXPECT_EQ(FLogger->LogLevel(), llError);
    FLogger->SetLogLevelFromText("-9");
    EXPECT_EQ(FLogger->LogLevel(), llQuiet);
    FLogger->SetLogLevelFromText("99");
    EXPECT_EQ(FLogger->LogLevel(), llDebug);
    EXPECT_THROW(FLogger->SetLogLevelFromText("chatty"), std::invalid_argument);
    EXPECT_EQ(FLogger->LogLevel(), llDebug);
}

TEST_F(LoggerTest, SettingTheSameLevelCallsNothing) {
    ff::av_log_set_level(0);
    FLogger->SetLogLevel(llInfo);  // unchanged: the library keeps what it has
    EXPECT_EQ(ff::av_log_get_level(), 0);
    FLogger->SetLogLevel(llVerbose);
    EXPECT_EQ(ff::av_log_get_level(), 40);
}

TEST_F(LoggerTest, OnlyOneInstance) {
    try {
        TFFLogger second;
        FAIL() << "a second logger was created";
    } catch (const EAssertionFailed& error) {
        EXPECT_STREQ(error.what(), "Allow creating only one instance of TFFLogger.");
    }
    EXPECT_EQ(&TFFLogger::Instance(), FLogger.get());
    FLogger.reset();
    EXPECT_FALSE(TFFLogger::HasInstance());
    TFFLogger& created = TFFLogger::Instance();  // made on demand
    EXPECT_TRUE(TFFLogger::HasInstance());
    EXPECT_EQ(&TFFLogger::Instance(), &created);
    TFFLogger::FreeOwnedInstance();
    EXPECT_FALSE(TFFLogger::HasInstance());
    FLogger = std::make_unique<TFFLogger>();
}

TEST_F(LoggerTest, NewInstanceTakesTheCurrentLibraryLevel) {
    FLogger->SetLogLevel(llWarning);
    FLogger.reset();
    FLogger = std::make_unique<TFFLogger>();
    EXPECT_EQ(FLogger->LogLevel(), llWarning);
}

TEST_F(LoggerTest, LibraryMessagesAboveTheLevelAreDropped) {
    ff::av_log(nullptr, AV_LOG_VERBOSE, "chatter\n");
    ff::av_log(nullptr, AV_LOG_WARNING, "careful\n");
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Text, "careful");
    EXPECT_EQ(lines[0].Level, llWarning);
    EXPECT_EQ(lines[0].Sender, FLogger.get());
    EXPECT_EQ(lines[0].ThreadId, CurrentThreadId());
}

TEST_F(LoggerTest, FragmentsMakeOneLineWithThePrefixOfTheFirst) {
    TTestContext context;
    ff::av_log(&context, AV_LOG_INFO, "abc");
    EXPECT_TRUE(Lines().empty());
    ff::av_log(&context, AV_LOG_INFO, "d%s%d\n", "e", 7);
    EXPECT_EQ(Texts(), Expected({PrefixOf(&context) + "abcde7"}));
}

TEST_F(LoggerTest, ALabelledThreadNamesItsWorkInsteadOfTheContextsAddress) {
    TTestContext context;
    {
        const TLogThreadLabel label("clip.flv");
        ff::av_log(&context, AV_LOG_INFO, "labelled\n");
    }
    ff::av_log(&context, AV_LOG_INFO, "plain\n");
    EXPECT_EQ(Texts(), Expected({"[TestContext @ clip.flv]labelled", PrefixOf(&context) + "plain"}));
}

TEST_F(LoggerTest, SeveralLinesInOneMessageAndARemainderKeptPending) {
    ff::av_log(nullptr, AV_LOG_INFO, "a\nb\n");
    EXPECT_EQ(Texts(), Expected({"a", "b"}));
    ff::av_log(nullptr, AV_LOG_INFO, "c\nd");
    EXPECT_EQ(Texts(), Expected({"a", "b", "c"}));
    ff::av_log(nullptr, AV_LOG_INFO, "\n");
    EXPECT_EQ(Texts(), Expected({"a", "b", "c", "d"}));
    ff::av_log(nullptr, AV_LOG_INFO, "\n");
    EXPECT_EQ(Texts(), Expected({"a", "b", "c", "d", ""}));
}

TEST_F(LoggerTest, OverlongMessageIsCutNotOverflowed) {
    const std::string longText(5000, 'x');
    ff::av_log(nullptr, AV_LOG_ERROR, "%s", longText.c_str());
    ff::av_log(nullptr, AV_LOG_ERROR, "\n");
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_EQ(Lines()[0].Text, std::string(2047, 'x'));
}

TEST_F(LoggerTest, InterleavedFragmentsOfTwoThreadsStayApart) {
    // Each thread logs when its turn comes: A1, B1, A2 + end, B2 + end.
    std::mutex lock;
    std::condition_variable turnChanged;
    int turn = 0;
    auto takeTurn = [&](int mine, const char* text) {
        std::unique_lock guard(lock);
        turnChanged.wait(guard, [&] { return turn == mine; });
        ff::av_log(nullptr, AV_LOG_INFO, "%s", text);
        ++turn;
        turnChanged.notify_all();
    };
    uint32_t idA = 0, idB = 0;
    std::thread a([&] {
        idA = CurrentThreadId();
        takeTurn(0, "A1");
        takeTurn(2, "A2\n");
    });
    std::thread b([&] {
        idB = CurrentThreadId();
        takeTurn(1, "B1");
        takeTurn(3, "B2\n");
    });
    a.join();
    b.join();
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Text, "A1A2");
    EXPECT_EQ(lines[0].ThreadId, idA);
    EXPECT_EQ(lines[1].Text, "B1B2");
    EXPECT_EQ(lines[1].ThreadId, idB);
    EXPECT_NE(idA, idB);
}

TEST_F(LoggerTest, ManyThreadsLoggingFragmentsAtOnce) {
    constexpr int Threads = 4, LinesEach = 300;
    std::vector<std::thread> threads;
    for (int t = 0; t < Threads; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < LinesEach; ++i) {
                ff::av_log(nullptr, AV_LOG_INFO, "t%d", t);
                ff::av_log(nullptr, AV_LOG_INFO, "-%d", i);
                ff::av_log(nullptr, AV_LOG_INFO, "\n");
            }
        });
    for (auto& thread : threads) thread.join();
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(Threads * LinesEach));
    std::vector<int> next(Threads, 0);
    std::vector<uint32_t> ids(Threads, 0);
    for (const TLogLine& line : lines) {
        int t = -1, i = -1;
        ASSERT_EQ(std::sscanf(line.Text.c_str(), "t%d-%d", &t, &i), 2) << line.Text;
        ASSERT_TRUE(t >= 0 && t < Threads);
        EXPECT_EQ(line.Text, "t" + std::to_string(t) + "-" + std::to_string(i));
        EXPECT_EQ(i, next[t]++) << "lines of one thread out of order";
        if (!ids[t]) ids[t] = line.ThreadId;
        EXPECT_EQ(line.ThreadId, ids[t]);
    }
}

TEST_F(LoggerTest, EngineMessagesFilteredByLevelButStatusLinesPass) {
    int sender = 0;
    FLogger->SetLogLevel(llError);
    FLogger->Log(&sender, llWarning, "dropped");
    FLogger->Log(&sender, llError, "error line");
    FLogger->Log(&sender, llVerbose, "status line");
    FLogger->SetLogLevel(llQuiet);
    FLogger->Log(&sender, llVerbose, "not at quiet");
    FLogger->Log(&sender, llQuiet, "always");
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].Text, "error line");
    EXPECT_EQ(lines[0].Sender, &sender);
    EXPECT_EQ(lines[0].Level, llError);
    EXPECT_EQ(lines[1].Text, "status line");
    EXPECT_EQ(lines[1].Level, llVerbose);
    EXPECT_EQ(lines[2].Text, "always");
}

TEST_F(LoggerTest, LinesFromWorkersAreDeliveredOnTheWaitingMainThread) {
    MainThread::SetCurrentAsMain();
    FLogger->TriggerEventInMainThread = true;
    const auto mainId = std::this_thread::get_id();
    std::vector<std::thread::id> handlerThreads;
    auto collect = FLogger->OnLog;
    FLogger->OnLog = [&](const void* s, uint32_t id, TLogLevel l, const std::string& t) {
        handlerThreads.push_back(std::this_thread::get_id());
        collect(s, id, l, t);
    };
    std::atomic<bool> done{false};
    uint32_t workerId = 0;
    std::thread worker([&] {
        workerId = CurrentThreadId();
        ff::av_log(nullptr, AV_LOG_ERROR, "from the library\n");
        FLogger->Log(nullptr, llInfo, "from the engine");
        done = true;
    });
    // The main thread itself waits for the worker; the worker's lines must still get through.
    MainThread::WaitUntil([&] { return done.load(); });
    worker.join();
    ASSERT_EQ(Texts(), Expected({"from the library", "from the engine"}));
    EXPECT_EQ(Lines()[0].ThreadId, workerId);
    EXPECT_EQ(Lines()[1].ThreadId, workerId);
    for (const auto& id : handlerThreads) EXPECT_EQ(id, mainId);
}

TEST_F(LoggerTest, LoaderInstallsTheHookOnEveryAvutilLoad) {
    ff::av_log_set_callback(ff::av_log_default_callback);
    ASSERT_TRUE(LoadMediaLibraries());  // already loaded: the hook goes in again all the same
    ff::av_log(nullptr, AV_LOG_ERROR, "hooked\n");
    EXPECT_EQ(Texts(), Expected({"hooked"}));
}

TEST_F(LoggerTest, InstallingTheHookNeedsAvutilBound) {
    TFFmpegLoader::Instance().Unload(libAVUtil);
    EXPECT_THROW(FLogger->InstallHook(), EAssertionFailed);
    // Without avutil a level change is kept but cannot reach the library.
    FLogger->SetLogLevel(llDebug);
    EXPECT_EQ(FLogger->LogLevel(), llDebug);
    ASSERT_TRUE(LoadMediaLibraries());
    EXPECT_EQ(ff::av_log_get_level(), 48);  // applied when the hook went in again
}

TEST_F(LoggerTest, LoaderLeavesTheCallbackAloneWhenAskedTo) {
    TFFmpegLoader& loader = TFFmpegLoader::Instance();
    ff::av_log_set_callback(ff::av_log_default_callback);
    loader.InstallLogHook = false;
    const bool loaded = LoadMediaLibraries();
    loader.InstallLogHook = true;
    ASSERT_TRUE(loaded);
    ff::av_log_set_level(AV_LOG_QUIET);  // keep the default callback from printing
    ff::av_log(nullptr, AV_LOG_PANIC, "not ours\n");
    EXPECT_TRUE(Lines().empty());
    ASSERT_TRUE(LoadMediaLibraries());
}
