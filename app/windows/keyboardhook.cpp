#include "keyboardhook.h"

#include <QCoreApplication>
#include <QPointer>

KeyboardHook *KeyboardHook::instance()
{
    static QPointer<KeyboardHook> hook;
    if (!hook)
        hook = new KeyboardHook;
    return hook;
}

KeyboardHook::KeyboardHook()
    : QObject(nullptr)
{
    connect(
        QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &QObject::deleteLater);
}

KeyboardHook::~KeyboardHook()
{
    stop();
}

void KeyboardHook::start() { }

void KeyboardHook::stop() { }
