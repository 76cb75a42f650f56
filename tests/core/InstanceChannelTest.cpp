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

std::vector<Message> decodeAll(FrameCodec &codec, FrameCodec::Status &last)
{
    std::vector<Message> messages;
    Message message;
    while ((last = codec.decodeNext(message)) == FrameCodec::Status::MessageReady)
        messages.push_back(message);
    return messages;
}

TEST(FrameCodec, decodesFramesSplitAcrossSingleByteReads)
{
    const std::vector<Message> sent{Message::handOver(QStringLiteral("123456")), Message::handOver(QString()),
                                    Message::ack(), Message::handOver(QStringLiteral("Größe ✓"))};
    QByteArray stream;
    for (const Message &message : sent)
        stream += FrameCodec::encode(message);

    FrameCodec codec;
    std::vector<Message> received;
    for (const char byte : stream) {
        codec.append(QByteArray(1, byte));
        FrameCodec::Status last;
        for (const Message &message : decodeAll(codec, last))
            received.push_back(message);
        ASSERT_EQ(last, FrameCodec::Status::NeedMoreData);
    }
    EXPECT_EQ(received, sent);
    EXPECT_EQ(codec.bufferedSize(), 0);
}

TEST(FrameCodec, decodesTwoFramesFromOneRead)
{
    FrameCodec codec;
    const QByteArray second = FrameCodec::encode(Message::handOver(QStringLiteral("second")));
    codec.append(FrameCodec::encode(Message::handOver(QStringLiteral("first"))) + second.left(3));
    FrameCodec::Status last;
    EXPECT_EQ(decodeAll(codec, last), std::vector<Message>{Message::handOver(QStringLiteral("first"))});
    EXPECT_EQ(last, FrameCodec::Status::NeedMoreData);
    codec.append(second.mid(3));
    EXPECT_EQ(decodeAll(codec, last), std::vector<Message>{Message::handOver(QStringLiteral("second"))});
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
    constexpr qsizetype kMiB = FrameCodec::kDefaultMaxPayloadSize;
    for (const auto &[cap, size] : {std::pair<qsizetype, qsizetype>{10, 10}, {0, 0}, {kMiB, kMiB}}) {
        for (const qsizetype payloadSize : {size, size + 1}) {
            FrameCodec codec(cap);
            const Message sent{quint8(MessageType::HandOver), QByteArray(payloadSize, 'a')};
            codec.append(FrameCodec::encode(sent));
            Message received;
            if (payloadSize <= cap) {
                ASSERT_EQ(codec.decodeNext(received), FrameCodec::Status::MessageReady) << cap;
                EXPECT_EQ(received, sent);
            } else {
                EXPECT_EQ(codec.decodeNext(received), FrameCodec::Status::Invalid) << cap;
                EXPECT_EQ(codec.error(), FrameCodec::Error::Oversized);
            }
        }
    }
}

// Another process on the channel: tests/tools/instance_peer.
class Peer
{
public:
    explicit Peer(const QStringList &arguments)
        : m_finished(&m_process, &QProcess::finished)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(TestEnvironment::toolPath(QStringLiteral("instance_peer")), arguments);
    }
    ~Peer()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    // Runs this process's event loop meanwhile, so an in-process primary can answer.
    int exitCode()
    {
        if (m_process.state() != QProcess::NotRunning && !m_finished.wait(kWaitMs))
            return -1;
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

private:
    QProcess m_process;
    QSignalSpy m_finished;
};

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
    EXPECT_EQ(Peer({QStringLiteral("try"), m_name}).exitCode(), 3);

    first.reset();
    EXPECT_FALSE(QFileInfo::exists(second.socketPath()));
    EXPECT_TRUE(second.tryBecomePrimary()) << second.errorString().toStdString();
}

// A connection sending garbage is dropped; one sending an incomplete frame is
// simply waited for. Either way the channel keeps serving.
TEST_F(InstanceChannelTest, garbageIsDroppedAndTheChannelKeepsServing)
{
    struct Case
    {
        QByteArray bytes;
        int delivered; // messages expected before the connection is dropped
        bool dropped;
    };
    const Case cases[] = {{QByteArray("GET / HTTP/1.0\r\n\r\n"), 0, true},
                          {header(65, 1) + QByteArray(65, 'a'), 0, true},
                          {header(0, 0x7f), 0, true},
                          {header(2, 1) + "\xc3\x28", 0, true},
                          {FrameCodec::encode(Message::handOver(QStringLiteral("1"))) + header(0, 0xee), 1, true},
                          {header(10, 1) + "abc", 0, false}};
    for (const Case &row : cases) {
        SCOPED_TRACE(row.bytes.toHex().toStdString());
        const QString name = m_name + QString::number(&row - cases);
        InstanceChannel primary(name);
        primary.setMaxPayloadSize(64);
        ASSERT_TRUE(primary.tryBecomePrimary());
        QSignalSpy received(&primary, &InstanceChannel::messageReceived);

        QLocalSocket raw;
        QSignalSpy disconnected(&raw, &QLocalSocket::disconnected);
        raw.connectToServer(primary.socketPath());
        ASSERT_TRUE(raw.waitForConnected(kWaitMs));
        raw.write(row.bytes);
        raw.flush();
        if (row.dropped) {
            ASSERT_TRUE(disconnected.wait(kWaitMs)) << "the primary kept a connection that sent garbage";
        } else {
            // Nothing to wait for but the absence of a reaction; a hand-over that
            // overtakes it proves the bytes were read and held back.
            EXPECT_EQ(Peer({QStringLiteral("send"), name, QStringLiteral("meanwhile")}).exitCode(), 0);
            EXPECT_EQ(raw.state(), QLocalSocket::ConnectedState);
            raw.abort();
        }
        const int expected = row.delivered + (row.dropped ? 0 : 1);
        while (received.size() < expected && received.wait(kWaitMs)) {
        }
        EXPECT_EQ(received.size(), expected);

        received.clear();
        EXPECT_EQ(Peer({QStringLiteral("send"), name, QStringLiteral("still there")}).exitCode(), 0);
        ASSERT_TRUE(received.size() == 1 || received.wait(kWaitMs));
        EXPECT_EQ(received.at(0).at(0).value<Message>().text(), QStringLiteral("still there"));
    }
}

} // namespace
