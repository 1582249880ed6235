#pragma once
// The program's exception types.
//
// `Exception` is the base of every error the game reports to the user: its
// message is shown in the fatal-error box. The control-flow exceptions at the
// end are deliberately *not* derived from std::exception, so that no
// catch-all for errors can swallow a reset, an abort or the end of a battle.

#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    // Message taken from the string table.
    static Exception FromId(int stringId);
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const { return message_; }

private:
    std::string message_;
};

// A read past the end of data, or data that cannot be what it claims to be.
class EReadError : public Exception {
public:
    using Exception::Exception;
    EReadError();  // the plain "read error" text
};

// A file that could not be opened; the message names the file.
class EFOpenError : public Exception {
public:
    using Exception::Exception;
};

// Soft reset: F12, return to title, game over, the menu's quit.
struct ESorvoDrawReset {};
// Silent unwind when the window closes while a frame waits.
struct ESorvoDrawAbort {};
// Ends a battle's nested loops.
struct ELcfBattleEnd {};

// A check that guards memory. It stays on in release builds: a failed check
// raises an Exception naming the file and line instead of reading or writing
// out of bounds.
[[noreturn]] void VarnowCheckFailed(const char* expr, const char* file, int line);
#define VARNOW_CHECK(expr) \
    do { \
        if (!(expr)) ::VarnowCheckFailed(#expr, __FILE__, __LINE__); \
    } while (0)
