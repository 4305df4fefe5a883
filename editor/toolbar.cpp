#include "toolbar.h"

#include <QDebug>
#include <QQuickItem>

ToolBar::ToolBar(QWindow *parent)
    : QQuickView(parent)
{
    setColor(Qt::transparent);
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setResizeMode(QQuickView::SizeViewToRootObject);
}

bool ToolBar::init()
{
    setSource(QUrl(QStringLiteral("qrc:/qml/qml/Components/ToolBar.qml")));
    QQuickItem *root = rootObject();
    if (!root) {
        qDebug() << Q_FUNC_INFO << errors();
        emit error(tr("The tool bar could not be shown."));
        return false;
    }
    // The QML signals carry QString and bool, so the string form is the one that matches.
    connect(root, SIGNAL(toolClick(QString, bool)), this, SLOT(toolClick(QString, bool)));
    connect(root, SIGNAL(clickAccept()), this, SIGNAL(clickAccept()));
    QMetaObject::invokeMethod(
        root, "setCurrentModule", Q_ARG(QVariant, QVariant(QStringLiteral("Ponoram"))));
    return true;
}

void ToolBar::toolClick(const QString &name, bool check)
{
    if (check)
        emit currentToolChange(name);
}
