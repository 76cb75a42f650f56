#include "platform/browser/ExtensionKey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kKeyBits = 2048;

QString openSslError()
{
    char text[256] = {};
    ERR_error_string_n(ERR_get_error(), text, sizeof text);
    return QString::fromLatin1(text);
}

struct BioCloser
{
    void operator()(BIO *bio) const { BIO_free(bio); }
};

EVP_PKEY *readKey(const QByteArray &pem)
{
    std::unique_ptr<BIO, BioCloser> bio(BIO_new_mem_buf(pem.constData(), int(pem.size())));
    return bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr) : nullptr;
}

QByteArray pemOf(EVP_PKEY *key)
{
    std::unique_ptr<BIO, BioCloser> bio(BIO_new(BIO_s_mem()));
    if (!bio || PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr) != 1)
        return {};
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return QByteArray(data, qsizetype(size));
}

// Never readable by anyone else, not even for a moment: created 0600 under
// a temporary name, then renamed into place.
bool writePrivately(const QString &path, const QByteArray &bytes, QString *error)
{
    const QByteArray temporary = QFile::encodeName(path + QStringLiteral(".new"));
    ::unlink(temporary.constData());
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    bool ok =
        fd >= 0 && ::write(fd, bytes.constData(), size_t(bytes.size())) == ssize_t(bytes.size()) && ::fsync(fd) == 0;
    const int writeErrno = errno;
    if (fd >= 0)
        ::close(fd);
    ok = ok && std::rename(temporary.constData(), QFile::encodeName(path).constData()) == 0;
    if (!ok) {
        *error = QStringLiteral("Cannot write %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(writeErrno)));
        ::unlink(temporary.constData());
    }
    return ok;
}

} // namespace

struct ExtensionKey::Data
{
    ~Data() { EVP_PKEY_free(key); }
    EVP_PKEY *key = nullptr;
};

ExtensionKey::ExtensionKey(std::unique_ptr<Data> data)
    : m_data(std::move(data))
{
}

ExtensionKey::~ExtensionKey() = default;
ExtensionKey::ExtensionKey(ExtensionKey &&) noexcept = default;
ExtensionKey &ExtensionKey::operator=(ExtensionKey &&) noexcept = default;

std::optional<ExtensionKey> ExtensionKey::load(const QString &pemPath, QString *error)
{
    QFile file(pemPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read %1: %2").arg(pemPath, file.errorString());
        return std::nullopt;
    }
    auto data = std::make_unique<Data>();
    data->key = readKey(file.read(64 * 1024));
    if (!data->key || EVP_PKEY_get_base_id(data->key) != EVP_PKEY_RSA) {
        *error = QStringLiteral("%1 holds no RSA private key").arg(pemPath);
        return std::nullopt;
    }
    return ExtensionKey(std::move(data));
}

std::optional<ExtensionKey> ExtensionKey::loadOrCreate(const QString &pemPath, QString *error)
{
    if (QFileInfo::exists(pemPath))
        return load(pemPath, error);
    auto data = std::make_unique<Data>();
    data->key = EVP_RSA_gen(kKeyBits);
    if (!data->key) {
        *error = QStringLiteral("Cannot make a key: %1").arg(openSslError());
        return std::nullopt;
    }
    if (!QDir().mkpath(QFileInfo(pemPath).absolutePath())) {
        *error = QStringLiteral("Cannot create the folder of %1").arg(pemPath);
        return std::nullopt;
    }
    if (!writePrivately(pemPath, pemOf(data->key), error))
        return std::nullopt;
    return ExtensionKey(std::move(data));
}

QByteArray ExtensionKey::publicKeyDer() const
{
    unsigned char *der = nullptr;
    const int size = i2d_PUBKEY(m_data->key, &der);
    if (size <= 0)
        return {};
    QByteArray bytes(reinterpret_cast<const char *>(der), size);
    OPENSSL_free(der);
    return bytes;
}

QByteArray ExtensionKey::signSha256(const QByteArray &data) const
{
    EVP_MD_CTX *context = EVP_MD_CTX_new();
    size_t size = 0;
    QByteArray signature;
    if (context && EVP_DigestSignInit(context, nullptr, EVP_sha256(), nullptr, m_data->key) == 1 &&
        EVP_DigestSignUpdate(context, data.constData(), size_t(data.size())) == 1 &&
        EVP_DigestSignFinal(context, nullptr, &size) == 1) {
        signature.resize(qsizetype(size));
        if (EVP_DigestSignFinal(context, reinterpret_cast<unsigned char *>(signature.data()), &size) == 1)
            signature.resize(qsizetype(size));
        else
            signature.clear();
    }
    EVP_MD_CTX_free(context);
    return signature;
}
