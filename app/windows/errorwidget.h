#ifndef ERRORWIDGET_H
#define ERRORWIDGET_H

#include "basicwindow.h"

// Shows one error text. Its owner sets the text, shows the window and releases it on closed().
class ErrorWidget : public BasicWindow
{
    Q_OBJECT

public:
    explicit ErrorWidget(const QString &error = QString(), QWindow *parent = nullptr);

    QString error() const { return m_error; }
    // The page follows the text through the window's store, under "errorText".
    void setError(const QString &error);

protected:
    void init() override;

private:
    QString m_error;
};

#endif // ERRORWIDGET_H
