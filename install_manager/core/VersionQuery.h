// The latest-version query: where the maker's site is, the request sent to
// it, when the reply is complete, and what is shown of it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace stewardex {

// The site is one configuration value, "host" or "host:port" (port 80 when
// none is given): key "Address" of section "[Site]" in "stewardex.ini" in
// the program folder; DefaultSiteAddress without that file or key.
inline constexpr const char* DefaultSiteAddress = "www.korlith3d.com";
inline constexpr const char* SiteConfigFile = "stewardex.ini";

struct SiteAddress {
    QString host;
    quint16 port = 80;
    bool operator==(const SiteAddress&) const = default;
};

// "host", "host:port"; a port that is not a number in 1..65535 is ignored.
SiteAddress parseSiteAddress(const QString& value);
SiteAddress readSiteAddress(const QString& programFolder);

// The five request lines, each ended by CR LF. "Host" carries the port when
// it is not 80.
QByteArray versionRequest(const SiteAddress& site);

// At most this much of a reply is read; the rest is never taken in.
inline constexpr qsizetype MaxReplySize = 64 * 1024;

// What has been collected of a reply.
enum class ReplyState {
    Incomplete,   // wait for more
    Complete,     // the header and four body lines (or the whole body) are in
    Oversized,    // MaxReplySize taken in without completing
};

// The reply is complete once the header has ended (CR LF CR LF) and the body
// holds four whole lines, a second CR LF CR LF, or its "Content-Length".
ReplyState replyState(const QByteArray& collected);

struct VersionReply {
    bool headerEnded = false;   // a CR LF CR LF was found
    QStringList lines;          // the body split at LF, at most four lines
};

// The body is what follows the first CR LF CR LF, up to a second one; it is
// split at every LF (a CR before it stays on its line). Text is 8-bit.
VersionReply parseVersionReply(const QByteArray& collected);

// "Lates version is: " CR LF L1 " (" L0 ")" CR LF L3 " (" L2 ")"
QString latestVersionMessage(const VersionReply& reply);
// For a reply that ended or grew too large without four body lines.
QString incompleteReplyMessage(const VersionReply& reply, bool oversized);

inline constexpr const char* ReplyTitle = "Korlith3D Version !";
inline constexpr const char* ConnectedText = "Conneced to the site. Sending Request";
QString connectingText(const SiteAddress& site);

// The socket's error report.
struct SocketError {
    int number = 0;
    QString description;
    qint32 scode = 0;
    QString source;
};
QString socketErrorMessage(const SocketError& error);

} // namespace stewardex
