#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The form of an address under which copies of one page compare equal:
// scheme and host in lower case, a default port dropped, "/" for an empty
// path, tracking parameters and a plain #fragment dropped. "http" and
// "https" give the same key; the scheme is kept beside it so that a group
// can say that it mixes the two.
class AddressKey
{
public:
    enum class Scheme
    {
        None,
        Http,
        Https,
        Other
    };

    // Works on UTF-8; `address` may be surrounded by blanks.
    static AddressKey of(QByteArrayView address);
    static AddressKey of(const QString &address) { return of(QByteArrayView(address.toUtf8())); }

    // Parameters added by mail and advertising systems to follow a click,
    // named without regard to case.
    static bool isTrackingParameter(QByteArrayView name);

    // Empty for an empty address: such SitePins are copies of nothing.
    const QByteArray &key() const { return m_key; }
    Scheme scheme() const { return m_scheme; }
    bool isWeb() const { return m_scheme == Scheme::Http || m_scheme == Scheme::Https; }
    // The normalised address with its scheme, as the user reads it.
    QString normalised() const;

private:
    QByteArray m_key;
    Scheme m_scheme = Scheme::None;
};
