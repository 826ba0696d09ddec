#pragma once

#include <QString>

#include <chrono>
#include <functional>

namespace velmora {

enum class SystemSound {
    Exclamation,
    Hand,
    Asterisk,
    Question,
};

// Everything the program asks of the operating system that a test must not let happen for real,
// or must be able to script. Defaults do the real thing; tests replace single members.
struct SystemHooks {
    std::function<void(int exitCode)> endProcess;             // immediate termination
    std::function<void(std::chrono::milliseconds)> retryWait; // waits between connection attempts
    std::function<void(SystemSound)> playSound;
    std::function<bool(const QString& target, const QString& parameters)> shellOpen;
    std::function<QString()> appDataFolder;   // the user's roaming application data
    std::function<QString()> documentsFolder; // empty when unknown
    std::function<QString()> desktopFolder;
    std::function<QString()> diskSerial;     // raw serial of the first physical disk; may throw
    std::function<QString()> networkAddress; // raw hardware address of the first real adapter
    std::function<QString()> computerName;
    std::function<QString()> userName;
    std::function<QString()> localIPv4;
};

SystemHooks& systemHooks();
// The real behaviour, for restoring a member after a test.
SystemHooks defaultSystemHooks();

} // namespace velmora
