#include "core/VersionQuery.h"

#include <platform/Paths.h>
#include <platform/Profile.h>

namespace stewardex {

namespace {

const QByteArray HeaderEnd = QByteArrayLiteral("\r\n\r\n");
constexpr int FourLines = 4;

// The "Content-Length" of a header block, -1 when it has none.
qsizetype contentLength(const QByteArray& header)
{
    for (const QByteArray& line : header.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0 || line.left(colon).trimmed().toLower() != "content-length")
            continue;
        bool ok = false;
        const qlonglong length = line.mid(colon + 1).trimmed().toLongLong(&ok);
        return ok && length >= 0 ? static_cast<qsizetype>(std::min<qlonglong>(length, MaxReplySize)) : -1;
    }
    return -1;
}

} // namespace

SiteAddress parseSiteAddress(const QString& value)
{
    const QString text = value.trimmed();
    const qsizetype colon = text.lastIndexOf(u':');
    if (colon > 0) {
        bool ok = false;
        const uint port = text.mid(colon + 1).toUInt(&ok);
        if (ok && port >= 1 && port <= 65535)
            return {text.left(colon), static_cast<quint16>(port)};
        return {text.left(colon), 80};
    }
    return {text, 80};
}

SiteAddress readSiteAddress(const QString& programFolder)
{
    const QString file = platform::joinPath(programFolder, QString::fromLatin1(SiteConfigFile));
    const QString value = platform::getProfileString(QStringLiteral("Site"), QStringLiteral("Address"),
                                                     QString::fromLatin1(DefaultSiteAddress), 256, file);
    SiteAddress site = parseSiteAddress(value);
    if (site.host.isEmpty())
        site = parseSiteAddress(QString::fromLatin1(DefaultSiteAddress));
    return site;
}

QByteArray versionRequest(const SiteAddress& site)
{
    const QByteArray host = site.host.toLatin1();
    const QByteArray hostHeader = site.port == 80 ? host : host + ':' + QByteArray::number(site.port);
    return QByteArrayLiteral("GET /version.txt HTTP/1.1\r\n")
        + QByteArrayLiteral("Accept: *.*, */*\r\n")
        + QByteArrayLiteral("Referer: ") + host + QByteArrayLiteral(" \r\n")
        + QByteArrayLiteral("Host: ") + hostHeader + QByteArrayLiteral("\r\n")
        + QByteArrayLiteral("\r\n");
}

ReplyState replyState(const QByteArray& collected)
{
    const qsizetype headerEnd = collected.indexOf(HeaderEnd);
    if (headerEnd >= 0) {
        const qsizetype bodyStart = headerEnd + HeaderEnd.size();
        const QByteArray body = collected.mid(bodyStart);
        const qsizetype length = contentLength(collected.left(headerEnd));
        if (body.contains(HeaderEnd) || body.count('\n') >= FourLines || (length >= 0 && body.size() >= length))
            return ReplyState::Complete;
    }
    return collected.size() >= MaxReplySize ? ReplyState::Oversized : ReplyState::Incomplete;
}

VersionReply parseVersionReply(const QByteArray& collected)
{
    VersionReply reply;
    const qsizetype headerEnd = collected.indexOf(HeaderEnd);
    if (headerEnd < 0)
        return reply;
    reply.headerEnded = true;
    QByteArray body = collected.mid(headerEnd + HeaderEnd.size());
    const qsizetype bodyEnd = body.indexOf(HeaderEnd);
    if (bodyEnd >= 0)
        body.truncate(bodyEnd);
    const qsizetype length = contentLength(collected.left(headerEnd));
    if (length >= 0 && body.size() > length)
        body.truncate(length);
    if (body.isEmpty())
        return reply;
    const QList<QByteArray> lines = body.split('\n');
    for (qsizetype i = 0; i < std::min<qsizetype>(lines.size(), FourLines); ++i)
        reply.lines.append(QString::fromLatin1(lines[i]));
    return reply;
}

QString latestVersionMessage(const VersionReply& reply)
{
    const auto line = [&reply](qsizetype i) { return i < reply.lines.size() ? reply.lines[i] : QString(); };
    return QStringLiteral("Lates version is: \r\n") + line(1) + QStringLiteral(" (") + line(0)
        + QStringLiteral(")\r\n") + line(3) + QStringLiteral(" (") + line(2) + u')';
}

QString incompleteReplyMessage(const VersionReply& reply, bool oversized)
{
    if (oversized)
        return QStringLiteral("The site's answer is larger than %1 KiB and was not read to its end: "
                              "no version information was found in it.")
            .arg(MaxReplySize / 1024);
    if (!reply.headerEnded)
        return QStringLiteral("The site closed the connection before its answer was complete: "
                              "no version information was received.");
    return QStringLiteral("The site's answer holds %1 of the 4 lines of version information:\r\n")
               .arg(reply.lines.size())
        + latestVersionMessage(reply);
}

QString connectingText(const SiteAddress& site)
{
    return QStringLiteral("Connecting to http://") + site.host + QStringLiteral("/ ...");
}

QString socketErrorMessage(const SocketError& error)
{
    return QStringLiteral("Error : ") + QString::number(error.number) + QStringLiteral("\r\nDescription : ")
        + error.description + QStringLiteral("\r\nScode: ") + QString::number(error.scode)
        + QStringLiteral("\r\nSource : ") + error.source;
}

} // namespace stewardex
