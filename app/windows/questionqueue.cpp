#include "questionqueue.h"

#include <QPointer>

#include <memory>
#include <utility>

QuestionQueue::QuestionQueue(QObject *parent)
    : QObject(parent)
{
}

void QuestionQueue::ask(Question question)
{
    m_waiting.push_back(std::move(question));
    askNext();
}

void QuestionQueue::askLast(Question question)
{
    if (!m_last)
        m_last = std::move(question);
    askNext();
}

void QuestionQueue::askNext()
{
    if (m_asking)
        return;
    Question next;
    if (!m_waiting.empty()) {
        next = std::move(m_waiting.front());
        m_waiting.pop_front();
    } else {
        next = std::exchange(m_last, nullptr);
    }
    if (!next)
        return;
    m_asking = true;
    auto answered = std::make_shared<bool>(false);
    next([self = QPointer<QuestionQueue>(this), answered] {
        if (!self || std::exchange(*answered, true))
            return;
        self->m_asking = false;
        // Once the window that answered has gone, not from within its own signal.
        QMetaObject::invokeMethod(self, &QuestionQueue::askNext, Qt::QueuedConnection);
    });
}
