#pragma once
// The message dialog's stand-in for window tests: answers queued with
// answer() in order, records every question, and fails the test when a
// question finds no answer or answers are left over. While it lives,
// ShowMessageDialog goes to it.

#include "ui/dialogs/MessagePrompter.h"

#include <gtest/gtest.h>

namespace k4812::test {

class FakeMessagePrompter : public QueuedMessagePrompter {
public:
    FakeMessagePrompter() : m_scope(*this) {}
    ~FakeMessagePrompter() override
    {
        EXPECT_EQ(unexpected(), 0) << "a message dialog was shown that the test did not expect";
        EXPECT_EQ(answersLeft(), 0) << "a message dialog the test expected was never shown";
    }

private:
    ScopedMessagePrompter m_scope;
};

} // namespace k4812::test
