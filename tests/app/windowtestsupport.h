#ifndef WINDOWTESTSUPPORT_H
#define WINDOWTESTSUPPORT_H

#include "basicwindow.h"

#include <QGuiApplication>
#include <QQuickItem>
#include <QStringList>
#include <QtTest>

// Collects every warning Qt and QML print while it lives (and still prints them), so that a
// test can require a page to load without a single one.
class WarningCatcher
{
public:
    WarningCatcher()
    {
        s_caught.clear();
        m_previous = qInstallMessageHandler(&WarningCatcher::handle);
        s_previous = m_previous;
    }
    ~WarningCatcher() { qInstallMessageHandler(m_previous); }
    WarningCatcher(const WarningCatcher &) = delete;
    WarningCatcher &operator=(const WarningCatcher &) = delete;

    QStringList warnings() const { return s_caught; }
    void clear() { s_caught.clear(); }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        // The offscreen platform of the tests says so when a window asks for what it cannot
        // do (raise, masks); that is no fault of a page.
        const bool platformNotice = text.startsWith(QLatin1String("This plugin does not support"));
        if (type != QtDebugMsg && type != QtInfoMsg && !platformNotice)
            s_caught << text;
        if (s_previous)
            s_previous(type, context, text);
    }

    QtMessageHandler m_previous = nullptr;
    static inline QtMessageHandler s_previous = nullptr;
    static inline QStringList s_caught;
};

// A window of the base class with a page of the test's own.
class ProbeWindow : public BasicWindow
{
    Q_OBJECT
public:
    explicit ProbeWindow(const QUrl &page = QUrl())
    {
        m_page = page;
        setupUi();
    }

protected:
    void init() override
    {
        if (!m_page.isEmpty())
            setSource(m_page);
    }

private:
    QUrl m_page;
};

inline QQuickItem *findItem(QQuickView *view, const QString &name)
{
    QQuickItem *root = view->rootObject();
    if (!root)
        return nullptr;
    return root->objectName() == name ? root : root->findChild<QQuickItem *>(name);
}

// A left click in the middle of the item, as the user would make it.
inline void clickItem(QQuickWindow *window, QQuickItem *item)
{
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

template <typename T> QList<T *> windowsOf()
{
    QList<T *> found;
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (auto *typed = qobject_cast<T *>(window))
            found << typed;
    }
    return found;
}

#endif // WINDOWTESTSUPPORT_H
