#pragma once

#include "ui/Messages.h"

#include <QObject>

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

// Connects a signal to a handler of the receiver that runs guarded: every
// control's handler is connected this way, once, in its window's constructor.
// The handler takes the signal's arguments, or none.
template <typename Sender, typename Signal, typename Receiver, typename Handler>
QMetaObject::Connection connectGuarded(Platform &platform, Sender *sender, Signal signal,
                                       Receiver *receiver, Handler handler)
{
    return QObject::connect(
        sender, signal, receiver, [&platform, receiver, handler](auto &&...args) {
            guarded(platform, [&] {
                if constexpr (std::is_invocable_v<Handler, Receiver *, decltype(args)...>)
                    std::invoke(handler, receiver, args...);
                else if constexpr (std::is_invocable_v<Handler, Receiver *>)
                    std::invoke(handler, receiver);
                else if constexpr (std::is_invocable_v<Handler, decltype(args)...>)
                    std::invoke(handler, args...);
                else
                    std::invoke(handler);
            });
        });
}

} // namespace nerubato
