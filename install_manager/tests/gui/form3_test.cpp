// The version query window against a server on the loopback interface.
#include "ui/Form3.h"

#include "support/WindowTestSupport.h"

#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <functional>

namespace stewardex {
namespace {

using testing::child;

const QByteArray Header = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n";
const QString Paired = "Lates version is: \r\nEngine (6.3)\r\nBeta (2003-01-10)";

// Answers each connection, once its request has arrived, with `reply`.
class LoopbackSite : public QObject {
public:
    using Reply = std::function<void(QTcpSocket&)>;
    explicit LoopbackSite(Reply reply) : reply_(std::move(reply))
    {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost));
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* client = server_.nextPendingConnection();
            connect(client, &QTcpSocket::readyRead, this, [this, client] {
                received_ += client->readAll();
                if (received_.endsWith("\r\n\r\n") && !answered_) {
                    answered_ = true;
                    reply_(*client);
                }
            });
        });
    }
    SiteAddress address() const { return {"127.0.0.1", server_.serverPort()}; }
    const QByteArray& received() const { return received_; }

private:
    QTcpServer server_;
    Reply reply_;
    QByteArray received_;
    bool answered_ = false;
};

class Form3Test : public testing::WindowTest {
protected:
    // Opens the window and waits until it closes or `waitMs` pass.
    bool runUntilClosed(Form3& window, int waitMs = 10000)
    {
        window.show();
        return QTest::qWaitFor([&] { return !window.isVisible(); }, waitMs);
    }
};

TEST_F(Form3Test, SendsTheRequestAndPairsTheFourLines)
{
    LoopbackSite site([](QTcpSocket& client) { client.write(Header + "6.3\nEngine\n2003-01-10\nBeta\n"); });
    dialogs_->expectMsgBox(platform::vbOK, "Lates version is: ");
    Form3 window(site.address(), programFolder());
    EXPECT_EQ(window.statusText(), "Connecting to http://127.0.0.1/ ...");
    ASSERT_TRUE(runUntilClosed(window));
    EXPECT_EQ(site.received(), versionRequest(site.address()));
    EXPECT_TRUE(site.received().startsWith("GET /version.txt HTTP/1.1\r\nAccept: *.*, */*\r\nReferer: 127.0.0.1 \r\n"));
    ASSERT_EQ(dialogs_->calls().size(), 1u);
    EXPECT_EQ(dialogs_->calls()[0].prompt, Paired);
    EXPECT_EQ(dialogs_->calls()[0].title, "Korlith3D Version !");
    EXPECT_EQ(dialogs_->calls()[0].style, platform::vbInformation);
    EXPECT_EQ(window.statusText(), "Conneced to the site. Sending Request");
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

TEST_F(Form3Test, ReplyInSeveralPiecesIsCollected)
{
    const QByteArray whole = Header + "6.3\nEngine\n2003-01-10\nBeta\n";
    LoopbackSite site([&whole](QTcpSocket& client) {
        for (int i = 0; i < 6; ++i) {
            const qsizetype from = whole.size() * i / 6;
            const qsizetype to = whole.size() * (i + 1) / 6;
            QTimer::singleShot(40 * i, &client, [&client, piece = whole.mid(from, to - from)] {
                client.write(piece);
                client.flush();
            });
        }
    });
    dialogs_->expectMsgBox(platform::vbOK, "Lates version is: ");
    Form3 window(site.address(), programFolder());
    ASSERT_TRUE(runUntilClosed(window));
    ASSERT_EQ(dialogs_->calls().size(), 1u);
    EXPECT_EQ(dialogs_->calls()[0].prompt, Paired);
}

TEST_F(Form3Test, ReplyThatNeverEndsLeavesCancelWorking)
{
    LoopbackSite site([](QTcpSocket& client) { client.write(Header + "6.3\nEngine\n"); });
    Form3 window(site.address(), programFolder());
    EXPECT_FALSE(runUntilClosed(window, 800)) << "still waiting for the rest";
    EXPECT_TRUE(dialogs_->calls().empty());
    child<QPushButton>(window, "Command1")->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_TRUE(dialogs_->calls().empty()) << "Cancel closes without a message";
}

TEST_F(Form3Test, MegabytesWithoutVersionLinesStopAtTheCap)
{
    qint64 written = 0;
    LoopbackSite site([&written](QTcpSocket& client) {
        const QByteArray block(64 * 1024, 'a');
        for (int i = 0; i < 32; ++i)
            written += client.write(block);
    });
    dialogs_->expectMsgBox(platform::vbOK, "larger than 64 KiB");
    Form3 window(site.address(), programFolder());
    ASSERT_TRUE(runUntilClosed(window));
    EXPECT_EQ(written, 2 * 1024 * 1024);
    EXPECT_EQ(dialogs_->calls().size(), 1u);
}

TEST_F(Form3Test, ShortReplyThatEndsIsSaidToBeShort)
{
    LoopbackSite site([](QTcpSocket& client) {
        client.write(Header + "6.3\nEngine");
        client.disconnectFromHost();
    });
    dialogs_->expectMsgBox(platform::vbOK, "holds 2 of the 4 lines");
    Form3 window(site.address(), programFolder());
    ASSERT_TRUE(runUntilClosed(window));
    ASSERT_EQ(dialogs_->calls().size(), 1u);
    EXPECT_TRUE(dialogs_->calls()[0].prompt.endsWith("Engine (6.3)\r\n ()"));
}

TEST_F(Form3Test, FourLinesEndedByClosingAreAnAnswer)
{
    LoopbackSite site([](QTcpSocket& client) {
        client.write(Header + "6.3\nEngine\n2003-01-10\nBeta");
        client.disconnectFromHost();
    });
    dialogs_->expectMsgBox(platform::vbOK, "Lates version is: ");
    Form3 window(site.address(), programFolder());
    ASSERT_TRUE(runUntilClosed(window));
    ASSERT_EQ(dialogs_->calls().size(), 1u);
    EXPECT_EQ(dialogs_->calls()[0].prompt, Paired);
}

TEST_F(Form3Test, RefusedConnectionShowsTheErrorAndTheWindowStaysUntilCancel)
{
    quint16 freePort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        freePort = probe.serverPort();
    }
    dialogs_->expectMsgBox(platform::vbOK, "Error : 10061");
    Form3 window({"127.0.0.1", freePort}, programFolder());
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs_->calls().empty(); }, 10000));
    EXPECT_EQ(dialogs_->calls()[0].prompt, "Error : 10061\r\nDescription : Connection is forcefully rejected\r\n"
                                           "Scode: -2146818227\r\nSource : WS");
    EXPECT_EQ(dialogs_->calls()[0].title, "Stewardex");
    EXPECT_EQ(dialogs_->calls()[0].style, platform::vbCritical);
    QTest::qWait(200);
    EXPECT_TRUE(window.isVisible());
    child<QPushButton>(window, "Command1")->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(dialogs_->calls().size(), 1u);
}

} // namespace
} // namespace stewardex
