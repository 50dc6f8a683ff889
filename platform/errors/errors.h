#pragma once
// The silent abort and the one top-level handler every command's exception reaches.

#include <exception>

// Ends a command where it is, without a message (a Cancel in a prompt).
class EAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

[[noreturn]] inline void Abort() { throw EAbort(); }

// Call inside a catch block: swallows EAbort, shows any other exception in the standard
// error box.
void HandleException();

// Runs a handler, passing what it throws to HandleException.
template <typename Handler> void Guarded(Handler&& handler)
{
    try {
        handler();
    } catch (...) {
        HandleException();
    }
}
