#ifndef CIPHER_H
#define CIPHER_H

#include <QString>

// Blowfish in ECB mode over libmcrypt, the format the credential keys are stored in.
// Whole 8-byte blocks are enciphered; a trailing partial block stays as it is (no padding).
// The key is the first 32 characters of `key`, taken as that many bytes of its UTF-16LE form.
// On failure both return the empty text and set *ok to false; libmcrypt refuses an empty key.
QString encrypt(const QString &data, const QString &key, bool *ok = nullptr);
QString decrypt(const QString &data, const QString &key, bool *ok = nullptr);

#endif // CIPHER_H
