// The version query's request, reply collection and parse, and its texts.
#include "core/SocketErrors.h"
#include "core/VersionQuery.h"

#include <QFile>
#include <QTemporaryDir>
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace stewardex {
namespace {

const QByteArray Header = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n";

TEST(VersionRequest, FiveLinesWithTheBareHostName)
{
    EXPECT_EQ(versionRequest({"www.korlith3d.com", 80}),
              QByteArray("GET /version.txt HTTP/1.1\r\n"
                         "Accept: *.*, */*\r\n"
                         "Referer: www.korlith3d.com \r\n"
                         "Host: www.korlith3d.com\r\n"
                         "\r\n"));
    const QByteArray local = versionRequest({"127.0.0.1", 8080});
    EXPECT_TRUE(local.contains("Referer: 127.0.0.1 \r\nHost: 127.0.0.1:8080\r\n\r\n")) << local.constData();
}

TEST(VersionRequest, SiteAddressIsOneValueWithAnOptionalPort)
{
    EXPECT_EQ(parseSiteAddress("www.korlith3d.com"), (SiteAddress{"www.korlith3d.com", 80}));
    EXPECT_EQ(parseSiteAddress(" 127.0.0.1:4711 "), (SiteAddress{"127.0.0.1", 4711}));
    EXPECT_EQ(parseSiteAddress("host:99999"), (SiteAddress{"host", 80}));

    QTemporaryDir folder;
    EXPECT_EQ(readSiteAddress(folder.path()), (SiteAddress{DefaultSiteAddress, 80}));
    QFile ini(folder.filePath(SiteConfigFile));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Site]\r\nAddress=localhost:5000\r\n");
    ini.close();
    EXPECT_EQ(readSiteAddress(folder.path()), (SiteAddress{"localhost", 5000}));
}

TEST(VersionReply, FourBodyLinesArePairedInTheMessage)
{
    const QByteArray reply = Header + "6.3\nEngine\n2003-01-10\nBeta\n";
    EXPECT_EQ(replyState(reply), ReplyState::Complete);
    const VersionReply parsed = parseVersionReply(reply);
    EXPECT_EQ(parsed.lines, QStringList({"6.3", "Engine", "2003-01-10", "Beta"}));
    EXPECT_EQ(latestVersionMessage(parsed), "Lates version is: \r\nEngine (6.3)\r\nBeta (2003-01-10)");
}

TEST(VersionReply, BodyEndsAtASecondBlankLineAndKeepsCarriageReturns)
{
    const QByteArray reply = Header + "6.3\r\nEngine\r\n2003-01-10\r\nBeta\r\n\r\nnot version text";
    EXPECT_EQ(replyState(reply), ReplyState::Complete);
    EXPECT_EQ(parseVersionReply(reply).lines, QStringList({"6.3\r", "Engine\r", "2003-01-10\r", "Beta"}));
    const QByteArray twoBlocks = Header + "6.3\nEngine\r\n\r\n2003\nBeta\n";
    EXPECT_EQ(parseVersionReply(twoBlocks).lines, QStringList({"6.3", "Engine"}));
}

TEST(VersionReply, CollectionWaitsForTheHeaderAndFourLines)
{
    const QByteArray whole = Header + "6.3\nEngine\n2003-01-10\nBeta\n";
    // Every cut before the last LF is incomplete.
    for (qsizetype cut = 0; cut < whole.size(); ++cut)
        EXPECT_EQ(replyState(whole.left(cut)), ReplyState::Incomplete) << cut;
    EXPECT_EQ(replyState(whole), ReplyState::Complete);
    // Content-Length completes a body without a last LF.
    const QByteArray sized = "HTTP/1.1 200 OK\r\nContent-Length: 26\r\n\r\n6.3\nEngine\n2003-01-10\nBeta";
    EXPECT_EQ(replyState(sized.left(sized.size() - 1)), ReplyState::Incomplete);
    EXPECT_EQ(replyState(sized), ReplyState::Complete);
    EXPECT_EQ(parseVersionReply(sized + "garbage").lines.back(), "Beta");
}

TEST(VersionReply, LongRepliesStopAtTheCap)
{
    const QByteArray noHeader(MaxReplySize, 'a');
    EXPECT_EQ(replyState(noHeader.left(MaxReplySize - 1)), ReplyState::Incomplete);
    EXPECT_EQ(replyState(noHeader), ReplyState::Oversized);
    // A huge reply whose first part already holds the lines is complete.
    EXPECT_EQ(replyState(Header + "1\n2\n3\n4\n" + noHeader), ReplyState::Complete);
    EXPECT_EQ(replyState(Header + QByteArray(MaxReplySize, 'b')), ReplyState::Oversized);
}

TEST(VersionReply, ShortRepliesAreSaidToBeShort)
{
    const VersionReply two = parseVersionReply(Header + "6.3\nEngine");
    EXPECT_EQ(two.lines, QStringList({"6.3", "Engine"}));
    EXPECT_EQ(incompleteReplyMessage(two, false),
              "The site's answer holds 2 of the 4 lines of version information:\r\n"
              "Lates version is: \r\nEngine (6.3)\r\n ()");
    const VersionReply none = parseVersionReply("HTTP/1.1 200 OK\r\n");
    EXPECT_FALSE(none.headerEnded);
    EXPECT_TRUE(none.lines.isEmpty());
    EXPECT_TRUE(incompleteReplyMessage(none, false).contains("no version information was received"));
    EXPECT_TRUE(incompleteReplyMessage(none, true).contains("larger than 64 KiB"));
    EXPECT_TRUE(parseVersionReply(Header).lines.isEmpty());
}

TEST(SocketErrorReport, NumberDescriptionScodeAndSource)
{
    const SocketError refused = socketError(QAbstractSocket::ConnectionRefusedError, "ignored");
    EXPECT_EQ(refused.number, 10061);
    EXPECT_EQ(refused.description, "Connection is forcefully rejected");
    EXPECT_EQ(refused.scode, static_cast<qint32>(0x800A274Du));
    EXPECT_EQ(refused.source, "WS");
    EXPECT_EQ(socketErrorMessage(refused), "Error : 10061\r\nDescription : Connection is forcefully rejected\r\n"
                                           "Scode: -2146818227\r\nSource : WS");
    EXPECT_EQ(socketError(QAbstractSocket::HostNotFoundError, {}).number, 11001);
    const SocketError other = socketError(QAbstractSocket::ProxyConnectionRefusedError, "proxy said no");
    EXPECT_EQ(other.number, 10053);
    EXPECT_EQ(other.description, "proxy said no");
}

} // namespace
} // namespace stewardex
