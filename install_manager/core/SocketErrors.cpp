#include "core/SocketErrors.h"

namespace stewardex {

qint32 controlErrorScode(int number)
{
    return static_cast<qint32>(0x800A0000u | (static_cast<quint32>(number) & 0xFFFFu));
}

SocketError socketError(QAbstractSocket::SocketError error, const QString& otherDescription)
{
    struct Known {
        int number;
        const char* description;
    };
    const auto known = [&]() -> Known {
        switch (error) {
        case QAbstractSocket::ConnectionRefusedError: return {10061, "Connection is forcefully rejected"};
        case QAbstractSocket::HostNotFoundError: return {11001, "Authoritative answer: Host not found"};
        case QAbstractSocket::SocketTimeoutError: return {10060, "Connection timed out"};
        case QAbstractSocket::RemoteHostClosedError: return {10054, "The connection is reset by remote side"};
        case QAbstractSocket::NetworkError:
            return {10051, "The network cannot be reached from this host at this time"};
        case QAbstractSocket::SocketAccessError: return {10013, "Permission denied"};
        case QAbstractSocket::SocketResourceError: return {10055, "No buffer space is available"};
        default: return {10053, nullptr};
        }
    }();
    const QString description = known.description ? QString::fromLatin1(known.description)
        : otherDescription.isEmpty() ? QStringLiteral("Connection is aborted due to timeout or other failure")
                                     : otherDescription;
    return {known.number, description, controlErrorScode(known.number), QString::fromLatin1(SocketSource)};
}

} // namespace stewardex
