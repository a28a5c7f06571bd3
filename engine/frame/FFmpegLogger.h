#pragma once
// The engine logger: one process-wide instance that receives the media libraries' messages
// (through the callback it installs into avutil) and the engine's own, and hands each whole
// line to the host's OnLog, on the main thread when asked to.
#include "engine/frame/LogLevel.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace kestrova {

using TLogEvent = std::function<void(const void* Sender, uint32_t AThreadID, TLogLevel ALogLevel,
                                     const std::string& ALogMsg)>;

// A broken usage rule of the engine (a programming error, not a user-facing failure).
class EAssertionFailed : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class TFFLogger {
public:
    // Becomes the single instance. Throws EAssertionFailed "Allow creating only one instance of
    // TFFLogger." when one exists already.
    TFFLogger();
    ~TFFLogger();
    TFFLogger(const TFFLogger&) = delete;
    TFFLogger& operator=(const TFFLogger&) = delete;

    // The single instance; creates one (owned by the engine) when none exists.
    static TFFLogger& Instance();
    static bool HasInstance();
    // Frees the instance that Instance() created, if it still exists (a host-created instance
    // is its owner's to free).
    static void FreeOwnedInstance();

    TLogLevel LogLevel() const;
    // A different value is applied to the libraries when avutil is bound.
    void SetLogLevel(TLogLevel level);
    // Level names or a decimal library level; throws std::invalid_argument naming the text.
    void SetLogLevelFromText(const std::string& text);

    // Deliver OnLog on the main thread (the producer waits until it has run).
    // Both are set by the host before tasks run.
    bool TriggerEventInMainThread = true;
    TLogEvent OnLog;

    // Registers the library callback and applies the level; avutil must be bound.
    void InstallHook();

    // Engine-side message; level is a TLogLevel ordinal. Dropped above LogLevel, except that
    // llVerbose status lines pass at every level but llQuiet.
    void Log(const void* sender, int level, const std::string& message);

private:
    void ApplyLevel();

    std::atomic<TLogLevel> FLogLevel;  // read by every logging thread
};

// The library level above which library messages are dropped (32, info, until a level is applied).
int CurrentLibraryLogLevel();

}  // namespace kestrova
