#include "ui/Form3.h"

#include "ui/Logo.h"

#include "core/SocketErrors.h"

#include <platform/Interaction.h>
#include <platform/Ui.h>

#include <QLabel>
#include <QPushButton>
#include <QTcpSocket>
#include <QTimer>

namespace stewardex {

Form3::Form3(const SiteAddress& site, const QString& programFolder, QWidget* owner)
    : QDialog(owner), site_(site)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Checking Version with site..."));
    setModal(true);
    setFixedSize(360, 150);

    auto* image1 = new QLabel(this);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setGeometry(0, 0, 360, 48);
    image1->setPixmap(logoPicture(programFolder, 360, 48));

    label2_ = new QLabel(connectingText(site_), this);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setGeometry(12, 60, 336, 36);
    label2_->setWordWrap(true);

    auto* command1 = new QPushButton(QStringLiteral("Cancel"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setGeometry(134, 106, 92, 30);
    connect(command1, &QPushButton::clicked, this, &Form3::cancel);

    socket_ = new QTcpSocket(this);
    socket_->setObjectName(QStringLiteral("WS"));
    // Qt's own buffer never holds more than the reply may be.
    socket_->setReadBufferSize(MaxReplySize);
    connect(socket_, &QTcpSocket::connected, this, &Form3::connected);
    connect(socket_, &QTcpSocket::readyRead, this, &Form3::dataArrived);
    connect(socket_, &QTcpSocket::disconnected, this, &Form3::connectionClosed);
    connect(socket_, &QTcpSocket::errorOccurred, this, &Form3::socketFailed);
}

Form3::~Form3() = default;

QString Form3::statusText() const
{
    return label2_->text();
}

void Form3::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!loaded_) {
        loaded_ = true;
        QTimer::singleShot(0, this, &Form3::load);
    }
}

void Form3::load()
{
    platform::doEvents();
    platform::doEvents();
    socket_->connectToHost(site_.host, site_.port);
}

void Form3::connected()
{
    label2_->setText(QString::fromLatin1(ConnectedText));
    platform::doEvents();
    socket_->write(versionRequest(site_));
}

void Form3::dataArrived()
{
    if (answered_)
        return;
    collected_.append(socket_->read(MaxReplySize - collected_.size()));
    switch (replyState(collected_)) {
    case ReplyState::Complete:
        answer(latestVersionMessage(parseVersionReply(collected_)));
        break;
    case ReplyState::Oversized:
        answer(incompleteReplyMessage(parseVersionReply(collected_), true));
        break;
    case ReplyState::Incomplete:
        break;
    }
}

void Form3::connectionClosed()
{
    if (answered_)
        return;
    collected_.append(socket_->read(MaxReplySize - collected_.size()));
    const VersionReply reply = parseVersionReply(collected_);
    // A closed connection ends the body: four lines are enough, fewer are said to be short.
    if (replyState(collected_) == ReplyState::Complete || reply.lines.size() >= 4)
        answer(latestVersionMessage(reply));
    else
        answer(incompleteReplyMessage(reply, false));
}

void Form3::socketFailed()
{
    if (answered_)
        return;
    if (socket_->error() == QAbstractSocket::RemoteHostClosedError) {
        connectionClosed();
        return;
    }
    const SocketError error = socketError(socket_->error(), socket_->errorString());
    platform::msgBox(socketErrorMessage(error), platform::vbCritical, QStringLiteral("Stewardex"));
}

void Form3::answer(const QString& message)
{
    answered_ = true;
    platform::msgBox(message, platform::vbInformation, QString::fromLatin1(ReplyTitle));
    socket_->abort();
    accept();
}

void Form3::cancel()
{
    answered_ = true;
    socket_->abort();
    reject();
}

} // namespace stewardex
