#include "cipher.h"

#include <QByteArray>
#include <QtGlobal>

#include <mcrypt.h>

#include <cstdlib>

namespace {

// Owns one Blowfish-ECB handle of libmcrypt from open to close.
class BlowfishEcb
{
public:
    explicit BlowfishEcb(const QString &key)
    {
        m_td = mcrypt_module_open(
            const_cast<char *>("blowfish"), nullptr, const_cast<char *>("ecb"), nullptr);
        if (m_td == MCRYPT_FAILED)
            return;

        // The stored values were made from the UTF-16 buffer of the key, cut to as many
        // bytes as the key has characters; keeping that keeps old rows readable.
        const QString cut = key.left(32);
        QByteArray material(reinterpret_cast<const char *>(cut.utf16()), cut.size());

        // ECB ignores the vector, but the set-up call wants one of the mode's size.
        QByteArray iv(mcrypt_enc_get_iv_size(m_td), '\0');
        for (char &byte : iv)
            byte = static_cast<char>(std::rand() & 0xff);

        const int code = mcrypt_generic_init(m_td, material.data(), material.size(), iv.data());
        if (code < 0) {
            mcrypt_perror(code);
            return;
        }
        m_ready = true;
    }

    ~BlowfishEcb()
    {
        if (m_ready)
            mcrypt_generic_deinit(m_td);
        if (m_td != MCRYPT_FAILED)
            mcrypt_module_close(m_td);
    }

    BlowfishEcb(const BlowfishEcb &) = delete;
    BlowfishEcb &operator=(const BlowfishEcb &) = delete;

    bool isReady() const { return m_ready; }
    void encipher(QByteArray &buffer) { mcrypt_generic(m_td, buffer.data(), buffer.size()); }
    void decipher(QByteArray &buffer) { mdecrypt_generic(m_td, buffer.data(), buffer.size()); }

private:
    MCRYPT m_td = MCRYPT_FAILED;
    bool m_ready = false;
};

void report(bool *ok, bool value)
{
    if (ok)
        *ok = value;
}

} // namespace

QString encrypt(const QString &data, const QString &key, bool *ok)
{
    BlowfishEcb cipher(key);
    report(ok, cipher.isReady());
    if (!cipher.isReady())
        return QString();

    QByteArray buffer = data.toUtf8();
    cipher.encipher(buffer);
    return QString::fromLatin1(buffer.toBase64());
}

QString decrypt(const QString &data, const QString &key, bool *ok)
{
    BlowfishEcb cipher(key);
    report(ok, cipher.isReady());
    if (!cipher.isReady())
        return QString();

    QByteArray buffer = QByteArray::fromBase64(data.toUtf8());
    cipher.decipher(buffer);
    const int zero = buffer.indexOf('\0');
    return QString::fromUtf8(zero < 0 ? buffer : buffer.left(zero));
}
