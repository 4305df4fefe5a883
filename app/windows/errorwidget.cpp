#include "errorwidget.h"

ErrorWidget::ErrorWidget(const QString &error, QWindow *parent)
    : BasicWindow(parent)
{
    setError(error);
    setupUi();
}

void ErrorWidget::init()
{
    setObjectName(QStringLiteral("ErrorWidget"));
    loadPage(QStringLiteral("ErrorDialog.qml"));
}

void ErrorWidget::setError(const QString &error)
{
    m_error = fitText(error);
    setData(QStringLiteral("errorText"), m_error);
}
