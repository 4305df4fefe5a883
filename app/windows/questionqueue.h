#ifndef QUESTIONQUEUE_H
#define QUESTIONQUEUE_H

#include <QObject>

#include <deque>
#include <functional>

// Questions to the user, one at a time: the next one shows once the user is through with the
// one before and with whatever it led to, such as a save dialog. Two windows waiting for an
// answer side by side leave the user guessing which is which, and one would take the keys
// typed into the other.
class QuestionQueue : public QObject
{
    Q_OBJECT

public:
    // Shows a question; calls done() once the user is through with it (at once when it turns
    // out not to be needed any more).
    using Question = std::function<void(const std::function<void()> &done)>;

    explicit QuestionQueue(QObject *parent = nullptr);

    // Asked after every question added before it.
    void ask(Question question);
    // Asked when no other question waits, even one added after it. While one such question
    // waits, another is the same question again and is not added.
    void askLast(Question question);

private:
    void askNext();

    std::deque<Question> m_waiting;
    Question m_last;
    bool m_asking = false;
};

#endif // QUESTIONQUEUE_H
