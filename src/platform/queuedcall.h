#pragma once

#include <QMetaObject>
#include <QObject>
#include <utility>

// The one way from another thread (a library's, or a worker of our own) to the user-interface
// thread. Every place where threads meet uses it, so the rules are stated here once:
//
// - The other thread copies what it hands over into the call (the library's buffers and texts
//   are valid only while it calls us) and queues it with QueueCall; it never touches a widget,
//   never emits a signal and never waits for the user-interface thread.
// - The call runs later on the thread of its context, the object that receives it. The context
//   guards the receiver's lifetime: a call still queued when the context is destroyed is dropped,
//   never run. Calls queued to one thread run in the order they were queued.
// - The calling thread must still know that the context exists while it queues. Either the
//   context outlives the thread (a worker it joins, a library it stops and waits for), or, for a
//   library callback that is a plain function without a context argument, the caller finds the
//   context in a TCallbackRegistry, whose lock the context's owner takes before destroying it.
//   Such callbacks are the only reason for a process-wide receiver.
template <typename Call>
void QueueCall(QObject* context, Call&& call) {
    QMetaObject::invokeMethod(context, std::forward<Call>(call), Qt::QueuedConnection);
}
