#include "messagedialog.h"

MessageDialog::MessageDialog(QWindow *parent)
    : BasicWindow(parent)
{
    setData(QStringLiteral("Ok"), tr("Ok"));
    setData(QStringLiteral("Cancel"), tr("Cancel"));
    setupUi();
}

// The page is loaded by information() and questions(), once its texts are in the store.
void MessageDialog::init()
{
    setObjectName(QStringLiteral("MessagePage"));
}

void MessageDialog::information(const QString &title, const QString &message)
{
    ask(QStringLiteral("information"), title, message);
}

void MessageDialog::questions(const QString &title, const QString &message)
{
    ask(QStringLiteral("questions"), title, message);
}

void MessageDialog::ask(const QString &type, const QString &title, const QString &message)
{
    setData(QStringLiteral("type"), type);
    setData(QStringLiteral("title"), title);
    setData(QStringLiteral("message"), fitText(message));
    loadPage(QStringLiteral("MessagePage.qml"));
}

void MessageDialog::setButtonName(const QString &key, const QString &name)
{
    setData(key, name);
}

void MessageDialog::done(int result)
{
    emit this->result(result);
    close();
}
