#include "packagesignature.h"
#include "update_key.h"

#include <QFile>

#include <memory>
#include <openssl/evp.h>

namespace {

struct KeyFree
{
    void operator()(EVP_PKEY *key) const { EVP_PKEY_free(key); }
};

struct ContextFree
{
    void operator()(EVP_MD_CTX *context) const { EVP_MD_CTX_free(context); }
};

} // namespace

bool PackageSignature::verify(const uchar *data, qint64 size, const QByteArray &signature)
{
    if (!data || size <= 0 || signature.size() != kSize)
        return false;
    const std::unique_ptr<EVP_PKEY, KeyFree> key(EVP_PKEY_new_raw_public_key(
        EVP_PKEY_ED25519, nullptr, kUpdatePublicKey, sizeof kUpdatePublicKey));
    const std::unique_ptr<EVP_MD_CTX, ContextFree> context(EVP_MD_CTX_new());
    // Ed25519 hashes internally: no digest is named, and the message goes in whole.
    return key && context
        && EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) == 1
        && EVP_DigestVerify(context.get(),
               reinterpret_cast<const unsigned char *>(signature.constData()), kSize, data,
               size_t(size))
        == 1;
}

bool PackageSignature::verifyFile(const QString &path, const QByteArray &signature)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0)
        return false;
    const uchar *data = file.map(0, file.size());
    return verify(data, file.size(), signature);
}
