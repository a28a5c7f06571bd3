#include "engine/frame/FFmpegLogger.h"

#include "engine/frame/LibBindings.h"
#include "engine/frame/LogLabel.h"
#include "engine/frame/MainThread.h"
#include "engine/frame/ThreadId.h"

#include <atomic>
#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace kestrova {

namespace {

// The single instance, and the one Instance() created when the host made none.
struct TInstanceRegistry {
    std::recursive_mutex Lock;
    TFFLogger* Current = nullptr;
    std::unique_ptr<TFFLogger> Owned;  // declared last: freed while Lock still exists
};

TInstanceRegistry& Registry() {
    static TInstanceRegistry registry;
    return registry;
}

// Library messages above this level are dropped before any formatting.
std::atomic<int> LibraryLevel{32};

// Partial library lines per thread: the libraries often log one line in several fragments.
struct TLogList {
    std::mutex Lock;
    std::unordered_map<uint32_t, std::string> Pending;
};

TLogList& LogList() {
    static TLogList list;
    return list;
}

// What a delivery needs, copied under the registry lock so that a handler can run (and a
// producer can block on the main thread) without holding any logger lock.
struct TDelivery {
    TLogEvent Handler;
    bool InMainThread = true;
    const void* Logger = nullptr;
};

bool CurrentDelivery(TDelivery& delivery) {
    TInstanceRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    if (!registry.Current || !registry.Current->OnLog) return false;
    delivery.Handler = registry.Current->OnLog;
    delivery.InMainThread = registry.Current->TriggerEventInMainThread;
    delivery.Logger = registry.Current;
    return true;
}

void Deliver(const TDelivery& delivery, const void* sender, uint32_t threadId, TLogLevel level,
             const std::string& message) {
    if (delivery.InMainThread)
        MainThread::RunSync([&] { delivery.Handler(sender, threadId, level, message); });
    else
        delivery.Handler(sender, threadId, level, message);
}

// "[name @ ADDRESS]" for a library context (which starts with its AVClass pointer), or
// "[name @ label]" on a thread whose work is labelled; else empty.
void FormatPrefix(void* context, char* prefix, std::size_t size) {
    prefix[0] = '\0';
    if (!context) return;
    const AVClass* avClass = *static_cast<const AVClass**>(context);
    if (!avClass) return;
    const char* name = avClass->item_name ? avClass->item_name(context) : avClass->class_name;
    if (const std::string& label = CurrentLogThreadLabel(); !label.empty())
        std::snprintf(prefix, size, "[%s @ %s]", name ? name : "", label.c_str());
    else
        std::snprintf(prefix, size, "[%s @ %0*" PRIXPTR "]", name ? name : "",
                      static_cast<int>(sizeof(void*) * 2), reinterpret_cast<uintptr_t>(context));
}

// Appends a fragment to the thread's pending text and moves every completed line into lines.
void AssembleLines(uint32_t threadId, const char* prefix, const char* message,
                   std::vector<std::string>& lines) {
    TLogList& list = LogList();
    std::lock_guard lock(list.Lock);
    std::string& pending = list.Pending[threadId];
    if (pending.empty()) pending = prefix;  // the prefix only starts a line
    pending += message;
    std::size_t start = 0;
    for (std::size_t feed = pending.find('\n'); feed != std::string::npos; feed = pending.find('\n', start)) {
        lines.emplace_back(pending, start, feed - start);
        start = feed + 1;
    }
    pending.erase(0, start);  // keeps the capacity for the next line
}

void LibraryCallback(void* context, int level, const char* format, va_list args) {
    if (LibraryLevel.load(std::memory_order_relaxed) < level) return;
    char prefix[160];
    FormatPrefix(context, prefix, sizeof prefix);
    char message[2048] = {};
    std::vsnprintf(message, sizeof message, format, args);  // cut at 2047 characters

    const uint32_t threadId = CurrentThreadId();
    std::vector<std::string> lines;
    AssembleLines(threadId, prefix, message, lines);
    if (lines.empty()) return;
    TDelivery delivery;
    if (!CurrentDelivery(delivery)) return;
    // No exception may cross the library's C frames.
    try {
        for (const std::string& line : lines)
            Deliver(delivery, delivery.Logger, threadId, LogLevelFromLibrary(level), line);
    } catch (...) {}
}

}  // namespace

int CurrentLibraryLogLevel() {
    return LibraryLevel.load();
}

TFFLogger::TFFLogger() {
    TInstanceRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    if (registry.Current) throw EAssertionFailed("Allow creating only one instance of TFFLogger.");
    FLogLevel = LogLevelFromLibrary(LibraryLevel.load());
    registry.Current = this;
}

TFFLogger::~TFFLogger() {
    TInstanceRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    if (registry.Current == this) registry.Current = nullptr;
}

TFFLogger& TFFLogger::Instance() {
    TInstanceRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    if (!registry.Current) registry.Owned = std::make_unique<TFFLogger>();
    return *registry.Current;
}

bool TFFLogger::HasInstance() {
    TInstanceRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    return registry.Current != nullptr;
}

void TFFLogger::FreeOwnedInstance() {
    TInstanceRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    registry.Owned.reset();
}

TLogLevel TFFLogger::LogLevel() const {
    return FLogLevel;
}

void TFFLogger::SetLogLevel(TLogLevel level) {
    if (level == FLogLevel) return;
    FLogLevel = level;
    ApplyLevel();
}

void TFFLogger::SetLogLevelFromText(const std::string& text) {
    SetLogLevel(LogLevelFromLibrary(LibraryLogLevelFromText(text)));
}

void TFFLogger::ApplyLevel() {
    if (!ff::av_log_set_level) return;
    LibraryLevel.store(LogLevelToLibrary(FLogLevel));
    ff::av_log_set_level(LibraryLevel.load());
}

void TFFLogger::InstallHook() {
    if (!ff::av_log_set_callback || !ff::av_log_set_level)
        throw EAssertionFailed("TFFLogger::InstallHook needs the avutil library bound.");
    ff::av_log_set_callback(&LibraryCallback);
    ApplyLevel();
}

void TFFLogger::Log(const void* sender, int level, const std::string& message) {
    if (!OnLog) return;
    const bool verbosePasses = level == llVerbose && FLogLevel != llQuiet;
    if (level > static_cast<int>(FLogLevel) && !verbosePasses) return;
    TDelivery delivery;
    if (!CurrentDelivery(delivery)) return;
    Deliver(delivery, sender, CurrentThreadId(), static_cast<TLogLevel>(level), message);
}

}  // namespace kestrova
