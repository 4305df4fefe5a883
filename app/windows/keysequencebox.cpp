#include "keysequencebox.h"

#include <QPlatformSurfaceEvent>
#include <QQuickItem>
#include <QSurfaceFormat>

namespace {

const char kPage[] = "qrc:/qml/qml/Components/KeySequenceBox.qml";
const int kShownFor = 3000;

} // namespace

KeySequenceBox::KeySequenceBox(QWindow *parent)
    : QQuickView(parent)
    , m_timer(this)
{
    setFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    // An alpha channel, so that the faded box and its round corners let the desktop through.
    QSurfaceFormat surface = requestedFormat();
    surface.setAlphaBufferSize(8);
    setFormat(surface);
    setColor(Qt::transparent);
    setResizeMode(QQuickView::SizeViewToRootObject);
    setSource(QUrl(QLatin1String(kPage)));
    m_timer.setSingleShot(true);
    m_timer.setInterval(kShownFor);
    connect(&m_timer, &QTimer::timeout, this, &KeySequenceBox::hideBox);
}

void KeySequenceBox::setKeySequence(const QString &sequence)
{
    QQuickItem *page = livePage();
    if (!page)
        return;
    page->setProperty("altVisible", sequence.contains(QLatin1String("Alt")));
    page->setProperty("ctrlVisible", sequence.contains(QLatin1String("Ctrl")));
    page->setProperty("shiftVisible", sequence.contains(QLatin1String("Shift")));
    page->setProperty("key", sequence.split(QStringLiteral(" + ")).constLast());
    raise();
    QMetaObject::invokeMethod(page, "show");
    // Every combination gets its full three seconds, however many came before it.
    m_timer.start();
}

void KeySequenceBox::hideBox()
{
    if (QQuickItem *page = livePage())
        QMetaObject::invokeMethod(page, "hide");
}

// The page, or nothing once the window or its page has gone: a combination that arrives
// after that, or a period that ends after it, has nothing left to show.
QQuickItem *KeySequenceBox::livePage() const
{
    return m_surfaceDestroyed ? nullptr : rootObject();
}

bool KeySequenceBox::event(QEvent *event)
{
    if (event->type() == QEvent::PlatformSurface) {
        const auto type = static_cast<QPlatformSurfaceEvent *>(event)->surfaceEventType();
        m_surfaceDestroyed = type == QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed;
        if (m_surfaceDestroyed)
            m_timer.stop();
    }
    return QQuickView::event(event);
}
