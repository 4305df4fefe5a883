#ifndef MESSAGEDIALOG_H
#define MESSAGEDIALOG_H

#include "basicwindow.h"

// A message with one button (information) or two (questions). The answer arrives as
// result(): 0 for OK, 1 for Cancel; a window closed any other way gives none. The caller
// connects closed() to deleteLater() and shows the window.
class MessageDialog : public BasicWindow
{
    Q_OBJECT

public:
    enum Result { Ok = 0, Cancel = 1 };
    Q_ENUM(Result)

    explicit MessageDialog(QWindow *parent = nullptr);

    void information(const QString &title, const QString &message);
    void questions(const QString &title, const QString &message);
    // "Ok" or "Cancel": the text of that button.
    void setButtonName(const QString &key, const QString &name);

    Q_INVOKABLE void done(int result);

signals:
    void result(int result);

protected:
    void init() override;

private:
    void ask(const QString &type, const QString &title, const QString &message);
};

#endif // MESSAGEDIALOG_H
