#pragma once
// ShowMessageDialog and the seam behind it. Windows ask their questions
// through ShowMessageDialog; by default it shows the message dialog modally
// (the program's one exec() of it) and returns 1 for OK, 2 for CANCEL and
// for the close button. Tests put a QueuedMessagePrompter in its place, which
// answers from a queue and records every question.

#include <QList>
#include <QString>

class QWidget;

namespace k4812 {

struct MessagePrompt {
    QString title;
    QString text;
    QString secondLine;

    bool operator==(const MessagePrompt&) const = default;
};

class MessagePrompter {
public:
    virtual ~MessagePrompter() = default;
    // Shows the question and returns the modal result (1 OK, 2 Cancel).
    virtual int ask(const MessagePrompt& prompt, QWidget* owner) = 0;
};

// The real dialog.
class DialogMessagePrompter : public MessagePrompter {
public:
    int ask(const MessagePrompt& prompt, QWidget* owner) override;
};

// Answers from a queue, in order, and records every question. A question
// with no answer left is answered 2 (the answer that changes nothing) and
// counted as unexpected.
class QueuedMessagePrompter : public MessagePrompter {
public:
    void answer(int result) { m_answers.append(result); }
    int ask(const MessagePrompt& prompt, QWidget* owner) override;

    const QList<MessagePrompt>& asked() const { return m_asked; }
    int answersLeft() const { return int(m_answers.size()); }
    int unexpected() const { return m_unexpected; }

private:
    QList<int> m_answers;
    QList<MessagePrompt> m_asked;
    int m_unexpected = 0;
};

// The prompter ShowMessageDialog uses.
MessagePrompter& messagePrompter();

// Puts `prompter` in place for its lifetime, then restores the previous one.
class ScopedMessagePrompter {
public:
    explicit ScopedMessagePrompter(MessagePrompter& prompter);
    ~ScopedMessagePrompter();
    ScopedMessagePrompter(const ScopedMessagePrompter&) = delete;
    ScopedMessagePrompter& operator=(const ScopedMessagePrompter&) = delete;

private:
    MessagePrompter* m_previous;
};

// Shows the three texts as given and returns 1 for OK, 2 for CANCEL or close.
int ShowMessageDialog(const QString& title, const QString& text, const QString& secondLine = {},
                      QWidget* owner = nullptr);

} // namespace k4812
