// The arrival watcher: its two start-up events and the three events of its
// source, with a hand-driven source and clock.

#include "wire/HidEvent.h"

#include "FakeEventScheduler.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace k4812 {
namespace {

class HandSource final : public HotplugSource {
public:
    void fire(HotplugAction action) { emit deviceEvent(action); }
};

struct Watcher {
    test::FakeEventScheduler clock;
    HandSource* source = nullptr;
    std::unique_ptr<TuiHIDEvent> event;
    QStringList seen;

    Watcher()
    {
        auto owned = std::make_unique<HandSource>();
        source = owned.get();
        event = std::make_unique<TuiHIDEvent>(nullptr, std::move(owned), clock);
        event->setOnDeviceArrival([this](TuiHIDEvent&) { seen << QStringLiteral("arrival"); });
        event->setOnDeviceRemove([this](TuiHIDEvent&) { seen << QStringLiteral("remove"); });
        event->setOnDeviceChange([this](TuiHIDEvent&) { seen << QStringLiteral("change"); });
    }
};

TEST(TuiHIDEvent, RaisesOneChangeAtOnceAndOneArrivalAfterOneAndAHalfSeconds)
{
    Watcher w;
    EXPECT_TRUE(w.seen.isEmpty()) << "nothing may be raised inside the constructor";

    w.clock.advance(0);
    EXPECT_EQ(w.seen, QStringList{QStringLiteral("change")});

    w.clock.advance(1499);
    EXPECT_EQ(w.seen, QStringList{QStringLiteral("change")});
    w.clock.advance(1);
    EXPECT_EQ(w.seen, (QStringList{QStringLiteral("change"), QStringLiteral("arrival")}));

    w.clock.advance(60'000);
    EXPECT_EQ(w.seen.size(), 2) << "the start-up events come once only";
    EXPECT_EQ(w.clock.pending(), 0u);
}

TEST(TuiHIDEvent, TurnsEachSourceEventIntoItsOwnEvent)
{
    const struct {
        HotplugAction action;
        const char* expected;
    } cases[] = {
        {HotplugAction::Add, "arrival"},
        {HotplugAction::Remove, "remove"},
        {HotplugAction::Change, "change"},
    };
    for (const auto& c : cases) {
        Watcher w;
        w.source->fire(c.action);
        EXPECT_EQ(w.seen, QStringList{QLatin1String(c.expected)});
    }
}

TEST(TuiHIDEvent, SkipsUnassignedEvents)
{
    test::FakeEventScheduler clock;
    auto source = std::make_unique<HandSource>();
    HandSource* hand = source.get();
    TuiHIDEvent event(nullptr, std::move(source), clock);
    hand->fire(HotplugAction::Add);
    hand->fire(HotplugAction::Remove);
    clock.advance(2000);
    SUCCEED();
}

TEST(TuiHIDEvent, RaisesNothingOnceDestroyed)
{
    Watcher w;
    w.event.reset();
    w.clock.advance(2000);
    EXPECT_TRUE(w.seen.isEmpty());
}

} // namespace
} // namespace k4812
