#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "events/cmcEvMan.h"

namespace {

struct Seen {
    std::string who;
    cmcEvKind kind;
    cmcEvDelivery delivery;
    uintptr_t first;
    int32_t second;
    std::string text;
};

// A handler's user data: its name, the shared log, and what it should do when called.
struct Listener {
    std::string name;
    std::vector<Seen>* log;
    cmcEvMan* man;
    std::function<void(const cmcEvent&)> action;
};

void Record(void* userData, const cmcEvent& e) {
    auto* l = static_cast<Listener*>(userData);
    l->log->push_back(Seen{l->name, e.kind, e.delivery, e.first, e.second, e.Text()});
    if (l->action)
        l->action(e);
}

class EvManTest : public ::testing::Test {
protected:
    Listener& Listen(const std::string& name) {
        listeners_.push_back(std::make_unique<Listener>(Listener{name, &log, &man, nullptr}));
        man.AddHandler(&Record, listeners_.back().get());
        return *listeners_.back();
    }
    std::vector<std::string> Order() const {
        std::vector<std::string> names;
        for (const Seen& s : log)
            names.push_back(s.who);
        return names;
    }
    std::vector<cmcEvKind> Kinds() const {
        std::vector<cmcEvKind> kinds;
        for (const Seen& s : log)
            kinds.push_back(s.kind);
        return kinds;
    }

    cmcEvMan man;
    std::vector<Seen> log;
    std::vector<std::unique_ptr<Listener>> listeners_;
};

using K = cmcEvKind;

TEST_F(EvManTest, SentEventIsDeliveredAtOnceWithItsArguments) {
    Listen("a");
    man.SendEventText(K::StatusMessage, kStatusTextAlert, int32_t(kStatusBackAlert), "Scan full");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].kind, K::StatusMessage);
    EXPECT_EQ(log[0].delivery, cmcEvDelivery::Sent);
    EXPECT_EQ(log[0].first, kStatusTextAlert);
    EXPECT_EQ(log[0].second, 0x80);
    EXPECT_EQ(log[0].text, "Scan full");
    EXPECT_EQ(man.PendingCount(), 0u);
}

TEST_F(EvManTest, TextTravelsWithItsNulAndRawDataIsNeverReadAsText) {
    std::vector<uint8_t> seenData;
    std::string seenText = "unset";
    Listener& l = Listen("a");
    l.action = [&](const cmcEvent& e) {
        seenData = e.data;
        seenText = e.Text();
    };
    man.SendEventText(K::DebugText, 0, 0, "abc");
    EXPECT_EQ(seenData, (std::vector<uint8_t>{'a', 'b', 'c', 0}));
    const int32_t cell[3] = {4, 31, 2};  // category, label, argument
    man.PostEventData(K::CurrentCellChanged, cell, sizeof cell);
    man.RunPass();
    ASSERT_EQ(seenData.size(), sizeof cell);
    EXPECT_EQ(std::memcmp(seenData.data(), cell, sizeof cell), 0);
    // Bytes without a terminating NUL are never handed out as a text.
    man.PostEventData(K::DebugText, "xyz", 3);
    man.RunPass();
    EXPECT_EQ(seenData.size(), 3u);
    EXPECT_EQ(seenText, "");
}

TEST_F(EvManTest, HandlersAreCalledMostRecentFirst) {
    Listen("a");
    Listen("b");
    Listen("c");
    man.SendEvent(K::UpdateCommandStates);
    EXPECT_EQ(Order(), (std::vector<std::string>{"c", "b", "a"}));
}

TEST_F(EvManTest, RegisteringTwiceLeavesOneLiveRegistrationNowFirst) {
    Listener& a = Listen("a");
    Listen("b");
    man.AddHandler(&Record, &a);
    man.SendEvent(K::UpdateCommandStates);
    EXPECT_EQ(Order(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(man.RegistrationCount(), 3u);  // the old one is only marked until the pass
    man.RunPass();
    EXPECT_EQ(man.RegistrationCount(), 2u);
}

TEST_F(EvManTest, NullCallbackIsIgnored) {
    man.AddHandler(nullptr, nullptr);
    man.RemoveHandler(nullptr, nullptr);
    EXPECT_EQ(man.RegistrationCount(), 0u);
    man.SendEvent(K::RepaintAll);  // nothing to call, nothing breaks
}

TEST_F(EvManTest, SameCallbackWithOtherUserDataIsAnotherRegistration) {
    Listener& a = Listen("a");
    Listener& b = Listen("b");
    man.RemoveHandler(&Record, &a);
    man.SendEvent(K::RepaintAll);
    EXPECT_EQ(Order(), (std::vector<std::string>{"b"}));
    (void)b;
}

TEST_F(EvManTest, HandlerRemovedDuringDeliveryIsNotCalledAgainAndFreedAfterPass) {
    Listener& a = Listen("a");
    Listener& b = Listen("b");  // called first
    b.action = [&](const cmcEvent&) { man.RemoveHandler(&Record, &a); };
    man.SendEvent(K::RepaintAll);
    EXPECT_EQ(Order(), (std::vector<std::string>{"b"}));
    EXPECT_EQ(man.RegistrationCount(), 2u);
    man.SendEvent(K::RepaintAll);
    EXPECT_EQ(Order(), (std::vector<std::string>{"b", "b"}));
    man.RunPass();
    EXPECT_EQ(man.RegistrationCount(), 1u);
}

TEST_F(EvManTest, HandlerRemovingItselfFinishesTheWalk) {
    Listen("a");
    Listener& b = Listen("b");
    b.action = [&](const cmcEvent&) { man.RemoveHandler(&Record, &b); };
    man.SendEvent(K::RepaintAll);
    man.SendEvent(K::RepaintAll);
    EXPECT_EQ(Order(), (std::vector<std::string>{"b", "a", "a"}));
}

TEST_F(EvManTest, HandlerAddedDuringDeliveryWaitsForTheNextEvent) {
    Listener late{"late", &log, &man, nullptr};
    Listener& a = Listen("a");
    a.action = [&](const cmcEvent&) { man.AddHandler(&Record, &late); };
    man.SendEvent(K::RepaintAll);
    EXPECT_EQ(Order(), (std::vector<std::string>{"a"}));
    man.SendEvent(K::RepaintAll);
    EXPECT_EQ(Order(), (std::vector<std::string>{"a", "late", "a"}));
    man.RemoveHandler(&Record, &late);
}

TEST_F(EvManTest, NestedSendIsDeliveredInsideTheCurrentDelivery) {
    Listener& a = Listen("a");
    a.action = [&](const cmcEvent& e) {
        if (e.kind == K::CommandSetChanged) {
            man.SendEvent(K::UpdateCommandStates);
            man.SendEvent(K::UpdateToolBarStates);
        }
    };
    Listen("b");
    man.SendEvent(K::CommandSetChanged);
    // b is first; a's nested sends reach b and a before the outer delivery ends.
    EXPECT_EQ(Kinds(), (std::vector<K>{K::CommandSetChanged, K::CommandSetChanged,
                                       K::UpdateCommandStates, K::UpdateCommandStates,
                                       K::UpdateToolBarStates, K::UpdateToolBarStates}));
}

TEST_F(EvManTest, PostedEventsWaitForThePassAndKeepTheirOrder) {
    Listen("a");
    man.PostEvent(K::RepaintLabel, 0, 15);
    man.PostEventText(K::StatusMessage, kStatusTextNormal, int32_t(kStatusBackNormal), "ok");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(man.PendingCount(), 2u);
    man.RunPass();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].kind, K::RepaintLabel);
    EXPECT_EQ(log[0].second, 15);
    EXPECT_EQ(log[0].delivery, cmcEvDelivery::Posted);
    EXPECT_EQ(log[1].kind, K::StatusMessage);
    EXPECT_EQ(log[1].text, "ok");
    EXPECT_EQ(man.PendingCount(), 0u);
}

TEST_F(EvManTest, EventPostedByAHandlerInAPassWaitsForTheNextPass) {
    Listener& a = Listen("a");
    a.action = [&](const cmcEvent& e) {
        if (e.kind == K::SetCompareReference)
            man.PostEvent(K::MemoryDebugRefresh);
    };
    man.PostEvent(K::SetCompareReference);
    man.PostEvent(K::RepaintAll);
    man.RunPass();
    EXPECT_EQ(Kinds(), (std::vector<K>{K::SetCompareReference, K::RepaintAll}));
    EXPECT_EQ(man.PendingCount(), 1u);
    man.RunPass();
    EXPECT_EQ(Kinds(),
              (std::vector<K>{K::SetCompareReference, K::RepaintAll, K::MemoryDebugRefresh}));
}

TEST_F(EvManTest, QueryWithoutAnswerGivesNone) {
    Listen("a");
    EXPECT_FALSE(man.QueryEvent(K::CurrentCellQuery, 0, 0).has_value());
}

TEST_F(EvManTest, QueryAnswerCarriesIntsAndData) {
    uint8_t identity[48];
    for (int i = 0; i < 48; ++i)
        identity[i] = uint8_t(i * 3);
    int owner = 0;
    Listener& a = Listen("sheet");
    a.action = [&](const cmcEvent& e) {
        if (e.delivery == cmcEvDelivery::Query && e.FirstAs<int>() == &owner)
            man.ReplyEvent(7, -9, identity, sizeof identity);
    };
    Listen("other");
    auto reply = man.QueryEvent(K::CurrentCellQuery, cmcEvArg(&owner), 0);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->first, 7);
    EXPECT_EQ(reply->second, -9);
    ASSERT_EQ(reply->DataLength(), 48);
    EXPECT_EQ(std::memcmp(reply->data.data(), identity, 48), 0);
    // Another owner: nobody answers, and the earlier reply does not linger.
    int stranger = 0;
    EXPECT_FALSE(man.QueryEvent(K::CurrentCellQuery, cmcEvArg(&stranger), 0).has_value());
}

TEST_F(EvManTest, LaterReplyReplacesEarlierOneWithinAQuery) {
    Listener& a = Listen("a");
    a.action = [&](const cmcEvent&) { man.ReplyEvent(1, 1, "xy", 2); };
    Listener& b = Listen("b");  // called first
    b.action = [&](const cmcEvent&) { man.ReplyEvent(2, 2, "long data", 9); };
    auto reply = man.QueryEvent(K::CurrentCellQuery);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->first, 1);
    EXPECT_EQ(reply->data, (std::vector<uint8_t>{'x', 'y'}));
}

TEST_F(EvManTest, NestedQueryKeepsItsOwnReply) {
    std::optional<cmcEvReply> inner;
    std::optional<cmcEvReply> unanswered;
    Listener& a = Listen("a");
    a.action = [&](const cmcEvent& e) {
        if (e.kind != K::CurrentCellQuery)
            return;
        man.ReplyEvent(12, 0);
        inner = man.QueryEvent(K::RedrawRequest);           // answered by b
        unanswered = man.QueryEvent(K::MemoryDebugCursor);  // answered by nobody
    };
    Listener& b = Listen("b");
    b.action = [&](const cmcEvent& e) {
        if (e.kind == K::RedrawRequest)
            man.ReplyEvent(25, 0);
    };
    auto outer = man.QueryEvent(K::CurrentCellQuery);
    ASSERT_TRUE(inner.has_value());
    EXPECT_EQ(inner->first, 25);
    EXPECT_FALSE(unanswered.has_value());
    ASSERT_TRUE(outer.has_value());
    EXPECT_EQ(outer->first, 12);
}

TEST_F(EvManTest, ReplyOutsideAQueryDoesNotReachTheNextQuery) {
    Listener& a = Listen("a");
    a.action = [&](const cmcEvent& e) {
        if (e.kind == K::RepaintAll)
            man.ReplyEvent(5, 5);
    };
    man.SendEvent(K::RepaintAll);
    man.ReplyEvent(1, 2);
    EXPECT_FALSE(man.QueryEvent(K::CurrentCellQuery).has_value());
}

TEST_F(EvManTest, PassInsideADeliveryDefersFreeingRegistrations) {
    // A handler that pumps messages (a message box) lets a timer pass run in the middle of a
    // delivery; the walk must be able to go on to the next registration.
    Listen("a");
    Listener& b = Listen("b");
    b.action = [&](const cmcEvent& e) {
        if (e.kind != K::FinishEditing)
            return;
        man.RemoveHandler(&Record, &b);
        man.RunPass();
        EXPECT_EQ(man.RegistrationCount(), 2u);
    };
    man.SendEvent(K::FinishEditing);
    EXPECT_EQ(Order(), (std::vector<std::string>{"b", "a"}));
    man.RunPass();
    EXPECT_EQ(man.RegistrationCount(), 1u);
}

TEST_F(EvManTest, TheTimerDeliversPostedEvents) {
    Listen("a");
    man.PostEvent(K::ShowAbout);
    QDeadlineTimer deadline(10000);
    while (log.empty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_EQ(Kinds(), (std::vector<K>{K::ShowAbout}));
    EXPECT_EQ(man.PendingCount(), 0u);
}

TEST(EvMan, DestructionFreesPendingEventsWithoutDelivering) {
    std::vector<Seen> log;
    auto man = std::make_unique<cmcEvMan>();
    Listener a{"a", &log, man.get(), nullptr};
    man->AddHandler(&Record, &a);
    man->PostEventText(K::StatusMessage, 0, 0, "pending");
    man->PostEvent(K::RepaintAll);
    man.reset();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_TRUE(log.empty());
}

TEST(EvMan, FirstManagerIsTheGlobalOneWhileItLives) {
    ASSERT_EQ(cmcEvMan::Global(), nullptr);
    {
        cmcEvMan first;
        EXPECT_EQ(cmcEvMan::Global(), &first);
        cmcEvMan second;
        EXPECT_EQ(cmcEvMan::Global(), &first);
    }
    EXPECT_EQ(cmcEvMan::Global(), nullptr);
}

}  // namespace
