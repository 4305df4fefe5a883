#ifndef BROWSER_H
#define BROWSER_H

#include <QCoreApplication>
#include <QString>

class QUrl;

// The desktop's web browser, through which the program shows every web page. When none can be
// started, open() writes why to the error log, and the caller tells the user failureText().
class Browser
{
    Q_DECLARE_TR_FUNCTIONS(Browser)

public:
    // address is what the log names: the page without what must not be written down, such as
    // a token in its path.
    static bool open(const QUrl &url, const QString &address);
    static QString failureText();
};

#endif // BROWSER_H
