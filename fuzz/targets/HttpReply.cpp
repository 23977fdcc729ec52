// Stewardex's version reply, collected piece by piece as the socket hands it
// over: the state of every prefix, the parse and the messages of the whole.
#include "FuzzSupport.h"

#include "core/VersionQuery.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray reply = fuzz::bytesOf(data, size);
    QByteArray collected;
    stewardex::ReplyState state = stewardex::ReplyState::Incomplete;
    // Pieces of 1 to 64 bytes, their sizes taken from the data itself.
    for (qsizetype at = 0; at < reply.size() && state == stewardex::ReplyState::Incomplete;) {
        const qsizetype piece = 1 + (static_cast<unsigned char>(reply[at]) & 63);
        collected += reply.mid(at, piece);
        at += piece;
        state = stewardex::replyState(collected);
    }
    if (state == stewardex::ReplyState::Oversized && collected.size() < stewardex::MaxReplySize)
        fuzz::fail("a reply was called oversized below the size limit");
    const stewardex::VersionReply parsed = stewardex::parseVersionReply(collected.left(stewardex::MaxReplySize));
    if (parsed.lines.size() > 4)
        fuzz::fail("a reply gave more than four lines");
    if (state == stewardex::ReplyState::Complete)
        stewardex::latestVersionMessage(parsed);
    else
        stewardex::incompleteReplyMessage(parsed, state == stewardex::ReplyState::Oversized);
    return 0;
}
