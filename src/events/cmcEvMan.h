#pragma once

#include <cstdint>
#include <list>
#include <optional>

#include "events/cmcEvent.h"
#include "events/cmcTask.h"

// Called with the user data given at registration and the event being delivered.
using cmcEvHandler = void (*)(void* userData, const cmcEvent& event);

// The event manager. Events are sent (delivered at once), queried (delivered at once, a handler
// may reply) or posted (queued and delivered by a 10 ms timer pass, in posting order, at least one
// pass after posting). Handlers are called most recently registered first. Everything happens on
// the user-interface thread; the only re-entrancy is nested delivery, which the removed marks make
// safe: registrations are never unlinked while a delivery walks them.
class cmcEvMan {
public:
    static constexpr int kPassIntervalMs = 10;

    // Starts the 10 ms timer. The first manager constructed becomes the global one.
    cmcEvMan();
    // Stops the timer; pending posted events are freed without being delivered.
    ~cmcEvMan();

    cmcEvMan(const cmcEvMan&) = delete;
    cmcEvMan& operator=(const cmcEvMan&) = delete;

    // The program's event manager, or nullptr when none exists.
    static cmcEvMan* Global();

    // A null callback is ignored. An earlier live registration with the same callback and user
    // data is removed, and the new one is called first from now on.
    void AddHandler(cmcEvHandler handler, void* userData);
    // Marks every matching registration removed: it is not called again, also not for the rest of
    // a delivery under way. Safe from inside a handler.
    void RemoveHandler(cmcEvHandler handler, void* userData);

    void SendEvent(cmcEvKind kind, uintptr_t first = 0, int32_t second = 0);
    void SendEventText(cmcEvKind kind, uintptr_t first, int32_t second, const char* text);

    void PostEvent(cmcEvKind kind, uintptr_t first = 0, int32_t second = 0);
    void PostEventText(cmcEvKind kind, uintptr_t first, int32_t second, const char* text);
    void PostEventData(cmcEvKind kind, const void* data, int32_t length);

    // The reply given by a handler during this very query, or none. A query raised by a handler of
    // another query has its own reply; it neither sees nor spoils the outer one.
    std::optional<cmcEvReply> QueryEvent(cmcEvKind kind, uintptr_t first = 0, int32_t second = 0);
    // Called by a handler during a query; replaces any earlier reply to it. Ignored outside one.
    void ReplyEvent(int32_t first, int32_t second, const void* data = nullptr, int32_t length = 0);

    // One timer pass: delivers the posted events that were queued before the pass began, frees
    // them, then frees the removed registrations. The timer calls it every 10 ms; tests call it
    // directly.
    void RunPass();

    size_t PendingCount() const { return queue_.size(); }
    // Registrations, removed ones not yet freed included.
    size_t RegistrationCount() const { return handlers_.size(); }

private:
    struct Registration {
        cmcEvHandler handler;
        void* userData;
        bool removed;
    };
    struct QueueEntry {
        cmcEvent event;
        bool isNew;
        bool done;
    };

    static cmcEvent MakeEvent(cmcEvKind kind, cmcEvDelivery delivery, uintptr_t first,
                              int32_t second, const void* data, int32_t length);
    static void OnTimer(void* context, cmcTask& task);
    void Deliver(const cmcEvent& event);
    void Post(cmcEvent&& event);

    std::list<QueueEntry> queue_;
    std::list<Registration> handlers_;
    cmcEvReply* replySlot_ = nullptr;  // the innermost query's reply, while one runs
    bool* replied_ = nullptr;
    int deliveryDepth_ = 0;
    bool inPass_ = false;
    cmcTask task_;
};
