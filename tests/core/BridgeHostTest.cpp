#include "browser/host/BridgeHost.h"
#include "TestEnvironment.h"
#include "platform/FrameCodec.h"
#include "platform/browser/BridgeFolder.h"
#include "platform/browser/NativeMessageCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace {

constexpr int kWaitMs = 30000;

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray nativeMessage(const QByteArray &payload)
{
    const quint32 length = qToLittleEndian(quint32(payload.size()));
    return QByteArray(reinterpret_cast<const char *>(&length), sizeof length) + payload;
}

QByteArray frameHeader(quint32 length, quint8 type)
{
    QByteArray bytes(FrameCodec::kHeaderSize, Qt::Uninitialized);
    qToBigEndian(length, bytes.data());
    bytes[4] = char(type);
    return bytes;
}

QByteArray request(const QJsonObject &object)
{
    return FrameCodec::encode(Message{quint8(MessageType::BridgeRequest), json(object)});
}

// The program's side of one connection to the host.
class ProgramConnection
{
public:
    explicit ProgramConnection(const QString &socketPath)
    {
        m_socket.connectToServer(socketPath);
        EXPECT_TRUE(m_socket.waitForConnected(kWaitMs));
    }

    void write(const QByteArray &bytes)
    {
        m_socket.write(bytes);
        m_socket.flush();
    }

    QJsonObject awaitReply()
    {
        for (;;) {
            Message message;
            const FrameCodec::Status status = m_codec.decodeNext(message);
            if (status == FrameCodec::Status::MessageReady)
                return QJsonDocument::fromJson(message.payload).object();
            if (status == FrameCodec::Status::Invalid || !m_socket.waitForReadyRead(kWaitMs))
                return {};
            m_codec.append(m_socket.readAll());
        }
    }

    bool awaitDisconnected()
    {
        return m_socket.state() == QLocalSocket::UnconnectedState || m_socket.waitForDisconnected(kWaitMs);
    }
    bool isConnected() const { return m_socket.state() == QLocalSocket::ConnectedState; }

private:
    QLocalSocket m_socket;
    FrameCodec m_codec;
};

// The host under test with this test in the browser's place: its standard
// input and output are ours.
class BridgeHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("SITEPINS_BRIDGE_DIR"), m_folder.path());
        m_host.setProcessEnvironment(environment);
        m_host.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_host.start(TestEnvironment::bridgeHostPath(), {QStringLiteral("chrome-extension://test/")});
        ASSERT_TRUE(m_host.waitForStarted(kWaitMs));
        ASSERT_TRUE(QTest::qWaitFor([this] { return QFileInfo::exists(socketPath()); }, kWaitMs));
    }

    void TearDown() override
    {
        m_host.kill();
        m_host.waitForFinished();
    }

    QString socketPath() const
    {
        return QDir(m_folder.path()).filePath(BridgeFolder::hostSocketName(m_host.processId()));
    }

    QJsonObject awaitBrowserRequest()
    {
        QByteArray message;
        while (!m_fromHost.next(message)) {
            if (!m_host.waitForReadyRead(kWaitMs))
                return {};
            m_fromHost.append(m_host.readAllStandardOutput());
        }
        return QJsonDocument::fromJson(message).object();
    }

    void writeToHost(const QByteArray &bytes)
    {
        m_host.write(bytes);
        while (m_host.bytesToWrite() > 0 && m_host.waitForBytesWritten(kWaitMs)) {
        }
    }

    qint64 peakMemoryKb() const
    {
        QFile status(QStringLiteral("/proc/%1/status").arg(m_host.processId()));
        status.open(QIODevice::ReadOnly);
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
        return -1;
    }

    bool hostAnswersStatus()
    {
        ProgramConnection connection(socketPath());
        connection.write(request({{"id", 9}, {"cmd", "status"}}));
        return connection.awaitReply().value("ok").toBool();
    }

    QTemporaryDir m_folder;
    QProcess m_host;
    NativeMessageCodec m_fromHost{NativeMessageCodec::kMaxToBrowser};
};

// Both connections use id 1; each gets the reply the browser gave to its own
// request, and the browser sees two different ids and nothing but the command.
TEST_F(BridgeHostTest, relaysEachReplyToTheConnectionThatAsked)
{
    ProgramConnection first(socketPath());
    ProgramConnection second(socketPath());
    first.write(request({{"id", 1}, {"cmd", "list"}, {"extra", "not for the browser"}}));
    const QJsonObject firstRequest = awaitBrowserRequest();
    second.write(request({{"id", 1}, {"cmd", "list"}}));
    const QJsonObject secondRequest = awaitBrowserRequest();
    EXPECT_EQ(firstRequest.keys(), (QStringList{"cmd", "id"}));
    EXPECT_NE(firstRequest.value("id"), secondRequest.value("id"));

    writeToHost(nativeMessage(json({{"id", secondRequest.value("id")}, {"ok", true}, {"windows", "second"}})));
    writeToHost(nativeMessage(json({{"id", firstRequest.value("id")}, {"ok", true}, {"windows", "first"}})));
    for (auto [connection, marker] : {std::pair{&first, "first"}, std::pair{&second, "second"}}) {
        const QJsonObject reply = connection->awaitReply();
        EXPECT_EQ(reply.value("id").toInt(), 1);
        EXPECT_EQ(reply.value("windows").toString(), QLatin1String(marker));
    }
}

// What the browser sends that is no reply to a request is passed over, an
// oversized message without being held, and the reply after it gets through.
TEST_F(BridgeHostTest, passesOverWhatTheBrowserSendsThatIsNoReply)
{
    ProgramConnection program(socketPath());
    program.write(request({{"id", 4}, {"cmd", "list"}}));
    const QJsonValue id = awaitBrowserRequest().value("id");
    const QByteArray reply = json({{"id", id}, {"ok", true}});
    const qint64 memoryBefore = peakMemoryKb();
    // The right id, but 2 MiB long: more than the host relays to the program.
    const QByteArray oversized = json({{"id", id}, {"ok", false}, {"pad", QString(2 * 1024 * 1024, QLatin1Char('x'))}});
    for (const QByteArray &ignored : {nativeMessage("not json"), nativeMessage("[1,2]"), nativeMessage(""),
                                      nativeMessage(json({{"id", 999999}})), nativeMessage(oversized)})
        writeToHost(ignored);
    writeToHost(nativeMessage(reply));
    const QJsonObject relayed = program.awaitReply();
    EXPECT_EQ(relayed.value("id").toInt(), 4);
    EXPECT_TRUE(relayed.value("ok").toBool());
    EXPECT_LT(peakMemoryKb() - memoryBefore, 1024) << "the oversized message was buffered";
}

// A length of 4 GiB: the host throws away what follows, holding none of it,
// and still answers the program.
TEST_F(BridgeHostTest, holdsNothingOfAHugeMessageFromTheBrowser)
{
    const qint64 memoryBefore = peakMemoryKb();
    writeToHost(QByteArray("\xff\xff\xff\xff", 4));
    const QByteArray chunk(1024 * 1024, '{');
    for (int i = 0; i < 64; ++i)
        writeToHost(chunk);
    EXPECT_TRUE(hostAnswersStatus());
    EXPECT_LT(peakMemoryKb() - memoryBefore, 4 * 1024);
}

// Each of these drops its own connection at once, and only that one.
TEST_F(BridgeHostTest, dropsAConnectionThatTalksNonsense)
{
    const QByteArray cases[] = {
        QByteArray("GET / HTTP/1.0\r\n\r\n"),
        frameHeader(0xffffffffu, quint8(MessageType::BridgeRequest)),
        frameHeader(quint32(FrameCodec::kDefaultMaxPayloadSize + 1), quint8(MessageType::BridgeRequest)),
        frameHeader(2, 0x7f) + "{}",
        FrameCodec::encode(Message::handOver("not a request")),
        frameHeader(2, quint8(MessageType::BridgeRequest)) + "\xc3\x28",
        FrameCodec::encode(Message{quint8(MessageType::BridgeRequest), "not json"}),
        FrameCodec::encode(Message{quint8(MessageType::BridgeRequest), "[1]"}),
        request({{"cmd", "list"}}),
    };
    for (const QByteArray &bytes : cases) {
        SCOPED_TRACE(bytes.left(40).toHex().toStdString());
        ProgramConnection nonsense(socketPath());
        nonsense.write(bytes);
        EXPECT_TRUE(nonsense.awaitDisconnected());
        EXPECT_TRUE(hostAnswersStatus());
    }
    // Half a frame is waited for, not dropped.
    ProgramConnection truncated(socketPath());
    truncated.write(request({{"id", 1}, {"cmd", "list"}}).left(9));
    EXPECT_TRUE(hostAnswersStatus());
    EXPECT_TRUE(truncated.isConnected());
}

// Past the cap a newcomer is still served: the oldest connection with
// nothing under way makes room, one that is mid-request is kept.
TEST_F(BridgeHostTest, capsItsConnectionsAndServesANewcomer)
{
    std::vector<std::unique_ptr<ProgramConnection>> held;
    for (int i = 0; i < BridgeHost::kMaxConnections; ++i)
        held.push_back(std::make_unique<ProgramConnection>(socketPath()));
    // Under way: half a request.
    held[0]->write(request({{"id", 1}, {"cmd", "list"}}).left(7));
    QTest::qWait(200);
    EXPECT_TRUE(hostAnswersStatus());
    EXPECT_TRUE(held[1]->awaitDisconnected()) << "the oldest idle connection makes room";
    QTest::qWait(300);
    for (size_t i = 0; i < held.size(); ++i) {
        if (i != 1) {
            EXPECT_TRUE(held[i]->isConnected()) << i;
        }
    }
}

TEST_F(BridgeHostTest, refusesRequestsItCannotPassOn)
{
    const std::pair<QJsonObject, const char *> cases[] = {
        {{{"cmd", "format"}}, "unknown command"},
        {{{"cmd", "open"}}, "bad request"},
        {{{"cmd", "close"}, {"tabId", "7"}}, "bad request"},
    };
    ProgramConnection program(socketPath());
    int id = 0;
    for (auto [sent, error] : cases) {
        sent.insert("id", ++id);
        program.write(request(sent));
        const QJsonObject reply = program.awaitReply();
        EXPECT_EQ(reply.value("id").toInt(), id);
        EXPECT_FALSE(reply.value("ok").toBool());
        EXPECT_EQ(reply.value("error").toString(), QLatin1String(error));
    }
}

// The browser closing the pipe (even mid-message) or sending SIGTERM ends
// the host normally, and its socket goes with it.
TEST_F(BridgeHostTest, endsCleanlyAndTakesItsSocketAlong)
{
    for (const bool terminate : {false, true}) {
        SCOPED_TRACE(terminate ? "SIGTERM" : "pipe closed");
        if (terminate) {
            TearDown();
            SetUp();
            ::kill(pid_t(m_host.processId()), SIGTERM);
        } else {
            writeToHost(nativeMessage(R"({"id":1,"ok":true})").left(10));
            m_host.closeWriteChannel();
        }
        const QString socket = socketPath();
        ASSERT_TRUE(m_host.waitForFinished(kWaitMs));
        EXPECT_EQ(m_host.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(m_host.exitCode(), 0);
        EXPECT_FALSE(QFileInfo::exists(socket));
    }
}

} // namespace
