#include "curleasy.h"

#include <mutex>

namespace {

// curl_global_init is not thread-safe and must precede every other call. It is never undone:
// curl_global_cleanup at exit could pull libcurl away from a transfer still ending on its
// thread, and the process is going anyway.
void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

CurlEasy::CurlEasy()
{
    initCurlOnce();
    m_handle = curl_easy_init();
    set(CURLOPT_ERRORBUFFER, m_error);
}

CurlEasy::~CurlEasy()
{
    if (m_handle)
        curl_easy_cleanup(m_handle);
    for (curl_slist *list : m_lists)
        curl_slist_free_all(list);
}

void CurlEasy::setList(CURLoption option, const QList<QByteArray> &items)
{
    curl_slist *list = nullptr;
    for (const QByteArray &item : items)
        list = curl_slist_append(list, item.constData());
    m_lists << list;
    set(option, list);
}

CURLcode CurlEasy::perform()
{
    m_error[0] = '\0';
    m_lastCode = m_setupError != CURLE_OK ? m_setupError : curl_easy_perform(m_handle);
    return m_lastCode;
}

QString CurlEasy::errorText() const
{
    if (m_lastCode == CURLE_OK)
        return QString();
    if (m_error[0] == '\0')
        return QString::fromUtf8(curl_easy_strerror(m_lastCode));
    return QString::fromUtf8(m_error).trimmed();
}
