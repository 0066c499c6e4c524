#pragma once

#include "ui/Messages.h"

#include <QObject>

class QWidget;

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace nerubato {

// Runs a handler; an error that escapes it goes to the general error box and
// the program goes on. This is the one place where errors are caught: where a
// handler starts.
template <typename Handler> void guarded(Platform &platform, Handler &&handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception &e) {
        showErrorBox(platform, describe(e));
    }
}

// A callable that takes exactly the signal's arguments (Qt tries a functor
// with fewer arguments too; one of fixed arity leaves it no choice).
template <typename Signal> struct SignalCall;
template <typename Class, typename... Args> struct SignalCall<void (Class::*)(Args...)>
{
    template <typename Call> static auto exactly(Call call)
    {
        return [call](Args... args) { call(args...); };
    }
};

// The handler with the signal's arguments, or with none if it takes none; a
// member function of the receiver, or any callable.
template <typename Handler, typename Receiver, typename... Args>
void invokeHandler(const Handler &handler, Receiver *receiver, Args &...args)
{
    if constexpr (std::is_invocable_v<const Handler &, Receiver *, Args &...>)
        std::invoke(handler, receiver, args...);
    else if constexpr (std::is_invocable_v<const Handler &, Receiver *>)
        std::invoke(handler, receiver);
    else if constexpr (std::is_invocable_v<const Handler &, Args &...>)
        std::invoke(handler, args...);
    else
        std::invoke(handler);
}

// Connects a signal to a handler of the receiver that runs guarded: every
// control's handler is connected this way, once, in its window's constructor.
// The handler takes the signal's arguments, or none.
template <typename Sender, typename Signal, typename Receiver, typename Handler>
QMetaObject::Connection connectGuarded(Platform &platform, Sender *sender, Signal signal,
                                       Receiver *receiver, Handler handler)
{
    auto call = [&platform, receiver, handler](auto &...args) {
        guarded(platform, [&] { invokeHandler(handler, receiver, args...); });
    };
    return QObject::connect(sender, signal, receiver, SignalCall<Signal>::exactly(call));
}

// Esc, without modifiers, anywhere in the window that does not take it
// itself, runs cancel as a handler (guarded), as the window's cancel button.
void cancelOnEscape(Platform &platform, QWidget *window, std::function<void()> cancel);

} // namespace nerubato
