#ifndef CURLEASY_H
#define CURLEASY_H

#include <QList>
#include <QString>

#include <curl/curl.h>

// Owns one libcurl easy handle, for one transfer on one thread. libcurl's process-wide set-up
// runs once, before the first handle, whichever thread makes it.
class CurlEasy
{
public:
    CurlEasy();
    ~CurlEasy();
    CurlEasy(const CurlEasy &) = delete;
    CurlEasy &operator=(const CurlEasy &) = delete;

    // An option that does not apply is remembered, and perform() reports it instead of running
    // a transfer set up other than asked. Strings are copied by libcurl.
    template <typename T> void set(CURLoption option, T value)
    {
        const CURLcode code
            = m_handle ? curl_easy_setopt(m_handle, option, value) : CURLE_FAILED_INIT;
        if (m_setupError == CURLE_OK)
            m_setupError = code;
    }

    // A list option (commands to send after the transfer, ...); the list lives as long as the
    // handle, since libcurl keeps only a pointer to it.
    void setList(CURLoption option, const QList<QByteArray> &items);

    CURLcode perform();
    // libcurl's own words about the last failure; empty when it had none.
    QString errorText() const;

private:
    CURL *m_handle = nullptr;
    QList<curl_slist *> m_lists;
    CURLcode m_setupError = CURLE_OK;
    CURLcode m_lastCode = CURLE_OK;
    char m_error[CURL_ERROR_SIZE] = {};
};

#endif // CURLEASY_H
