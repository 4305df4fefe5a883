#ifndef TOOLBAR_H
#define TOOLBAR_H

#include <QQuickView>

// The editor's tool bar in a small window of its own, for a capture view that keeps the bar
// outside its page. The creator names the context objects "paintArea", "surface", "settings"
// and "core" before init(); the bar already switches the canvas's tool itself, so
// currentToolChange is for the creator to follow, not to pass on to the canvas again (a
// second setCurrentModule with the same name turns the tool off).
class ToolBar : public QQuickView
{
    Q_OBJECT

public:
    explicit ToolBar(QWindow *parent = nullptr);

    bool init();

signals:
    void currentToolChange(const QString &name);
    void clickAccept();
    void error(const QString &text);

private slots:
    void toolClick(const QString &name, bool check);
};

#endif // TOOLBAR_H
