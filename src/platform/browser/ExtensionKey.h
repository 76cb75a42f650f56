#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

// The RSA key a packed Chromium extension is signed with. Its public half
// names the extension (ExtensionId), so one key is made per installation,
// at the first integration, and kept (readable by its owner only) for every
// later one: the browsers then see the same extension again.
class ExtensionKey
{
public:
    ~ExtensionKey();
    ExtensionKey(ExtensionKey &&) noexcept;
    ExtensionKey &operator=(ExtensionKey &&) noexcept;

    // Reads the PEM file; makes a new key there (mode 0600) when there is
    // none. Nothing, with the reason, when the file cannot be read or made.
    static std::optional<ExtensionKey> loadOrCreate(const QString &pemPath, QString *error);
    // Nothing when there is no key there, or it cannot be read.
    static std::optional<ExtensionKey> load(const QString &pemPath, QString *error);

    // DER SubjectPublicKeyInfo, as CRX headers and manifests carry it.
    QByteArray publicKeyDer() const;
    // RSA PKCS#1 v1.5 over the SHA-256 of data; empty on failure.
    QByteArray signSha256(const QByteArray &data) const;

private:
    struct Data;
    explicit ExtensionKey(std::unique_ptr<Data> data);

    std::unique_ptr<Data> m_data;
};
