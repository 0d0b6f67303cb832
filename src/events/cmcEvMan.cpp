#include "events/cmcEvMan.h"

#include <cstring>
#include <utility>

namespace {
cmcEvMan* g_global = nullptr;

template <class T>
struct ScopedValue {
    T& ref;
    T saved;
    ScopedValue(T& r, T value) : ref(r), saved(r) { ref = value; }
    ~ScopedValue() { ref = saved; }
};
}  // namespace

cmcEvMan::cmcEvMan() {
    if (!g_global)
        g_global = this;
    task_.SetHandler(&cmcEvMan::OnTimer, this);
    task_.Schedule(kPassIntervalMs);
}

cmcEvMan::~cmcEvMan() {
    task_.Cancel();
    queue_.clear();
    handlers_.clear();
    replySlot_ = nullptr;
    replied_ = nullptr;
    if (g_global == this)
        g_global = nullptr;
}

cmcEvMan* cmcEvMan::Global() {
    return g_global;
}

void cmcEvMan::AddHandler(cmcEvHandler handler, void* userData) {
    if (!handler)
        return;
    for (Registration& r : handlers_) {
        if (r.handler == handler && r.userData == userData)
            r.removed = true;
    }
    handlers_.push_front(Registration{handler, userData, false});
}

void cmcEvMan::RemoveHandler(cmcEvHandler handler, void* userData) {
    if (!handler)
        return;
    for (Registration& r : handlers_) {
        if (r.handler == handler && r.userData == userData)
            r.removed = true;
    }
}

cmcEvent cmcEvMan::MakeEvent(cmcEvKind kind, cmcEvDelivery delivery, uintptr_t first,
                             int32_t second, const void* data, int32_t length) {
    cmcEvent e;
    e.kind = kind;
    e.delivery = delivery;
    e.first = first;
    e.second = second;
    if (data && length > 0) {
        const auto* bytes = static_cast<const uint8_t*>(data);
        e.data.assign(bytes, bytes + length);
    }
    return e;
}

// A text travels with its terminating NUL; a null text is the empty text.
static int32_t TextLength(const char*& text) {
    if (!text)
        text = "";
    return static_cast<int32_t>(std::strlen(text) + 1);
}

void cmcEvMan::Deliver(const cmcEvent& event) {
    ScopedValue<int> depth(deliveryDepth_, deliveryDepth_ + 1);
    // Entries added during the walk go in front and so are not visited by it; removed ones stay
    // linked until a pass with no delivery under way.
    for (auto it = handlers_.begin(); it != handlers_.end(); ++it) {
        if (!it->removed)
            it->handler(it->userData, event);
    }
}

void cmcEvMan::SendEvent(cmcEvKind kind, uintptr_t first, int32_t second) {
    Deliver(MakeEvent(kind, cmcEvDelivery::Sent, first, second, nullptr, 0));
}

void cmcEvMan::SendEventText(cmcEvKind kind, uintptr_t first, int32_t second, const char* text) {
    const int32_t length = TextLength(text);
    Deliver(MakeEvent(kind, cmcEvDelivery::Sent, first, second, text, length));
}

void cmcEvMan::Post(cmcEvent&& event) {
    queue_.push_back(QueueEntry{std::move(event), true, false});
}

void cmcEvMan::PostEvent(cmcEvKind kind, uintptr_t first, int32_t second) {
    Post(MakeEvent(kind, cmcEvDelivery::Posted, first, second, nullptr, 0));
}

void cmcEvMan::PostEventText(cmcEvKind kind, uintptr_t first, int32_t second, const char* text) {
    const int32_t length = TextLength(text);
    Post(MakeEvent(kind, cmcEvDelivery::Posted, first, second, text, length));
}

void cmcEvMan::PostEventData(cmcEvKind kind, const void* data, int32_t length) {
    Post(MakeEvent(kind, cmcEvDelivery::Posted, 0, 0, data, length));
}

std::optional<cmcEvReply> cmcEvMan::QueryEvent(cmcEvKind kind, uintptr_t first, int32_t second) {
    cmcEvReply reply;
    bool replied = false;
    {
        ScopedValue<cmcEvReply*> slot(replySlot_, &reply);
        ScopedValue<bool*> flag(replied_, &replied);
        Deliver(MakeEvent(kind, cmcEvDelivery::Query, first, second, nullptr, 0));
    }
    if (!replied)
        return std::nullopt;
    return reply;
}

void cmcEvMan::ReplyEvent(int32_t first, int32_t second, const void* data, int32_t length) {
    if (!replySlot_)
        return;
    cmcEvReply& r = *replySlot_;
    r.first = first;
    r.second = second;
    r.data.clear();
    if (data && length > 0) {
        const auto* bytes = static_cast<const uint8_t*>(data);
        r.data.assign(bytes, bytes + length);
    }
    *replied_ = true;
}

void cmcEvMan::RunPass() {
    if (inPass_)
        return;
    ScopedValue<bool> inPass(inPass_, true);

    for (QueueEntry& e : queue_)
        e.isNew = false;
    // Events posted by handlers during this walk are appended with the new mark and wait for the
    // next pass. An entry is marked done before delivery so that it is never delivered twice.
    for (auto it = queue_.begin(); it != queue_.end(); ++it) {
        if (it->done || it->isNew)
            continue;
        it->done = true;
        Deliver(it->event);
    }
    queue_.remove_if([](const QueueEntry& e) { return e.done; });
    // A handler of a sent event may pump messages (a message box), so a pass can run inside a
    // delivery; the walk of that delivery still holds its place in the ring.
    if (deliveryDepth_ == 0)
        handlers_.remove_if([](const Registration& r) { return r.removed; });
}

void cmcEvMan::OnTimer(void* context, cmcTask&) {
    static_cast<cmcEvMan*>(context)->RunPass();
}
