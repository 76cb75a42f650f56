#include "platform/InstanceChannel.h"
#include "TestEnvironment.h"
#include "platform/FrameCodec.h"

#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QUuid>
#include <QtEndian>

#include <gtest/gtest.h>

#include <memory>

// Readable failure messages; found by argument-dependent lookup.
static void PrintTo(const Message &message, std::ostream *out)
{
    *out << "Message{" << int(message.type) << ", \"" << message.payload.toStdString() << "\"}";
}

namespace {

// Generous: only a broken channel ever waits this long.
constexpr int kWaitMs = 30000;

QByteArray header(quint32 length, quint8 type)
{
    QByteArray bytes(FrameCodec::kHeaderSize, Qt::Uninitialized);
    qToBigEndian(length, bytes.data());
    bytes[4] = char(type);
    return bytes;
}

// Frames arriving whole, several to a read, or split at every byte.
TEST(FrameCodec, decodesFramesHoweverTheStreamIsCut)
{
    const std::vector<Message> sent{Message::handOver(QStringLiteral("123456")), Message::handOver(QString()),
                                    Message::ack(), Message::handOver(QStringLiteral("Größe ✓"))};
    QByteArray stream;
    for (const Message &message : sent)
        stream += FrameCodec::encode(message);
    for (const qsizetype piece : {qsizetype(1), qsizetype(7), stream.size()}) {
        FrameCodec codec;
        std::vector<Message> received;
        for (qsizetype at = 0; at < stream.size(); at += piece) {
            codec.append(stream.mid(at, piece));
            Message message;
            FrameCodec::Status last;
            while ((last = codec.decodeNext(message)) == FrameCodec::Status::MessageReady)
                received.push_back(message);
            ASSERT_EQ(last, FrameCodec::Status::NeedMoreData) << piece;
        }
        EXPECT_EQ(received, sent) << piece;
        EXPECT_EQ(codec.bufferedSize(), 0);
    }
}

// Each is refused as soon as it can be told apart from a frame still arriving,
// and stays refused: a following good frame is not read out of the wreck.
TEST(FrameCodec, refusesAnInvalidStreamForGood)
{
    const std::pair<QByteArray, FrameCodec::Error> streams[] = {
        {header(1025, 1), FrameCodec::Error::Oversized},
        {header(0xffffffffu, 1), FrameCodec::Error::Oversized},
        {QByteArray("GET / HTTP/1.0\r\n\r\n"), FrameCodec::Error::Oversized},
        {header(0, 0), FrameCodec::Error::UnknownType},
        {header(3, 0x7f) + "abc", FrameCodec::Error::UnknownType},
        {header(1, 2) + "x", FrameCodec::Error::Malformed},         // an acknowledgement with a payload
        {header(2, 1) + "\xff\xfe", FrameCodec::Error::Malformed}}; // a hand-over that is no UTF-8
    for (const auto &[bytes, error] : streams) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        FrameCodec codec(1024);
        codec.append(bytes);
        Message message;
        EXPECT_EQ(codec.decodeNext(message), FrameCodec::Status::Invalid);
        EXPECT_EQ(codec.error(), error);
        EXPECT_EQ(codec.bufferedSize(), 0);
        codec.append(FrameCodec::encode(Message::ack()));
        EXPECT_EQ(codec.decodeNext(message), FrameCodec::Status::Invalid);
    }
}

TEST(FrameCodec, acceptsPayloadsUpToTheCap)
{
    for (const qsizetype cap : {qsizetype(10), qsizetype(0), FrameCodec::kDefaultMaxPayloadSize}) {
        for (const qsizetype payloadSize : {cap, cap + 1}) {
            FrameCodec codec(cap);
            const Message sent{quint8(MessageType::HandOver), QByteArray(payloadSize, 'a')};
            codec.append(FrameCodec::encode(sent));
            Message received;
            const bool fits = payloadSize <= cap;
            EXPECT_EQ(codec.decodeNext(received), fits ? FrameCodec::Status::MessageReady : FrameCodec::Status::Invalid)
                << cap;
            EXPECT_EQ(codec.error(), fits ? FrameCodec::Error::None : FrameCodec::Error::Oversized);
            EXPECT_EQ(received, fits ? sent : Message()) << cap;
        }
    }
}

// Runs tests/tools/instance_peer to its end, with this process's event loop
// running meanwhile so an in-process primary can answer.
int peer(const QStringList &arguments)
{
    QProcess process;
    QSignalSpy finished(&process, &QProcess::finished);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(TestEnvironment::toolPath(QStringLiteral("instance_peer")), arguments);
    if (!finished.wait(kWaitMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

class InstanceChannelTest : public ::testing::Test
{
protected:
    // Tests share the runtime folder; each uses a name of its own.
    const QString m_name = QStringLiteral("test-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
};

TEST_F(InstanceChannelTest, onlyOneChannelIsPrimaryAtATime)
{
    auto first = std::make_unique<InstanceChannel>(m_name);
    ASSERT_TRUE(first->tryBecomePrimary()) << first->errorString().toStdString();
    const QFileInfo socket(first->socketPath());
    EXPECT_TRUE(socket.exists());
    EXPECT_EQ(socket.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
              QFile::Permissions());

    InstanceChannel second(m_name);
    EXPECT_FALSE(second.tryBecomePrimary());
    EXPECT_EQ(peer({QStringLiteral("try"), m_name}), 3);

    first.reset();
    EXPECT_FALSE(QFileInfo::exists(second.socketPath()));
    EXPECT_TRUE(second.tryBecomePrimary()) << second.errorString().toStdString();
}

// A connection sending garbage is dropped; one sending an incomplete frame is
// simply waited for. Either way the channel keeps serving.
TEST_F(InstanceChannelTest, garbageIsDroppedAndTheChannelKeepsServing)
{
    // The bytes, the messages delivered before the connection is dropped, and whether it is.
    const std::tuple<QByteArray, int, bool> cases[] = {
        {QByteArray("GET / HTTP/1.0\r\n\r\n"), 0, true},
        {header(65, 1) + QByteArray(65, 'a'), 0, true},
        {header(0, 0x7f), 0, true},
        {header(2, 1) + "\xc3\x28", 0, true},
        {FrameCodec::encode(Message::handOver(QStringLiteral("1"))) + header(0, 0xee), 1, true},
        {header(10, 1) + "abc", 0, false}};
    for (const auto &row : cases) {
        const auto &[bytes, delivered, dropped] = row;
        SCOPED_TRACE(bytes.toHex().toStdString());
        const QString name = m_name + QString::number(&row - cases);
        InstanceChannel primary(name);
        primary.setMaxPayloadSize(64);
        ASSERT_TRUE(primary.tryBecomePrimary());
        QSignalSpy received(&primary, &InstanceChannel::messageReceived);

        QLocalSocket raw;
        QSignalSpy disconnected(&raw, &QLocalSocket::disconnected);
        raw.connectToServer(primary.socketPath());
        ASSERT_TRUE(raw.waitForConnected(kWaitMs));
        raw.write(bytes);
        raw.flush();
        if (dropped) {
            ASSERT_TRUE(disconnected.wait(kWaitMs)) << "the primary kept a connection that sent garbage";
        } else {
            // Nothing to wait for but the absence of a reaction; a hand-over that
            // overtakes it proves the bytes were read and held back.
            EXPECT_EQ(peer({QStringLiteral("send"), name, QStringLiteral("meanwhile")}), 0);
            EXPECT_EQ(raw.state(), QLocalSocket::ConnectedState);
            raw.abort();
        }
        const int expected = delivered + (dropped ? 0 : 1);
        while (received.size() < expected && received.wait(kWaitMs)) {
        }
        EXPECT_EQ(received.size(), expected);

        received.clear();
        EXPECT_EQ(peer({QStringLiteral("send"), name, QStringLiteral("still there")}), 0);
        ASSERT_TRUE(received.size() == 1 || received.wait(kWaitMs));
        EXPECT_EQ(received.at(0).at(0).value<Message>().text(), QStringLiteral("still there"));
    }
}

} // namespace
