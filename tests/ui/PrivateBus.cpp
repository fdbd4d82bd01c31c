#include "PrivateBus.h"

#include <QFile>

namespace tesk::test {

namespace {

const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

}  // namespace

PrivateBus::PrivateBus() {
    const QString config = dir_.filePath("bus.conf");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) {
        return;
    }
    file.write(
        "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
        " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
        "<busconfig>\n"
        "  <type>session</type>\n"
        "  <listen>unix:dir=" +
        dir_.path().toUtf8() +
        "</listen>\n"
        "  <auth>EXTERNAL</auth>\n"
        "  <policy context=\"default\">\n"
        "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
        "    <allow eavesdrop=\"true\"/>\n"
        "    <allow own=\"*\"/>\n"
        "  </policy>\n"
        "</busconfig>\n");
    file.close();
    daemon_.setStandardErrorFile(QProcess::nullDevice());  // its complaints about fd limits
    daemon_.start(
        QStringLiteral("dbus-daemon"),
        {"--config-file=" + config, QStringLiteral("--print-address"), QStringLiteral("--nofork")});
    if (daemon_.waitForStarted(5000) && daemon_.waitForReadyRead(5000)) {
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
}

PrivateBus::~PrivateBus() {
    for (const QString& name : connections_) {
        QDBusConnection::disconnectFromBus(name);
    }
    daemon_.kill();
    daemon_.waitForFinished();
}

QDBusConnection PrivateBus::connect() {
    const QString name = QStringLiteral("test-bus-%1").arg(reinterpret_cast<quintptr>(this)) +
                         QString::number(connections_.size());
    connections_ << name;
    return QDBusConnection::connectToBus(address_, name);
}

FakeNotificationServer::FakeNotificationServer(QDBusConnection bus, QStringList capabilities)
    : bus_(std::move(bus)), capabilities_(std::move(capabilities)) {
    registered_ = bus_.registerService(kInterface) &&
                  bus_.registerObject(kPath, this, QDBusConnection::ExportAllSlots);
}

// Another service may take over the name.
FakeNotificationServer::~FakeNotificationServer() {
    bus_.unregisterObject(kPath);
    bus_.unregisterService(kInterface);
}

QStringList FakeNotificationServer::GetCapabilities() {
    return capabilities_;
}

uint FakeNotificationServer::Notify(const QString&, uint replacesId, const QString& appIcon,
                                    const QString& summary, const QString& body,
                                    const QStringList& actions, const QVariantMap&, int) {
    const uint id = replacesId != 0 ? replacesId : ++lastId_;
    notices.push_back({replacesId, appIcon, summary, body, actions, id});
    if (holding_) {
        setDelayedReply(true);
        held_.push_back(message().createReply(id));
    }
    return id;
}

void FakeNotificationServer::releaseAnswers() {
    holding_ = false;
    for (const QDBusMessage& answer : held_) {
        bus_.send(answer);
    }
    held_.clear();
}

void FakeNotificationServer::invokeAction(uint id, const QString& action) {
    bus_.send(QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("ActionInvoked"))
              << id << action);
}

void FakeNotificationServer::close(uint id) {
    bus_.send(QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("NotificationClosed"))
              << id << 2u);
}

}  // namespace tesk::test
