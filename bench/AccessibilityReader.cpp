// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/AccessibilityReader.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <cstdio>

namespace corvella::bench {

namespace {

constexpr int kAskMilliseconds = 20;
const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");
const QString kRootPath = QStringLiteral("/org/a11y/atspi/accessible/root");

QDBusMessage callOn(const QString& service, const QString& path, const QString& interface,
                    const QString& method, const QVariantList& arguments = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return message;
}

QDBusMessage nameRequest(const QString& service, const QString& path) {
    return callOn(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                  QStringLiteral("Get"), {kAccessible, QStringLiteral("Name")});
}

QString nameOf(QDBusConnection& bus, const QString& service, const QString& path) {
    const QDBusMessage reply = bus.call(nameRequest(service, path));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
    return reply.arguments().at(0).value<QDBusVariant>().variant().toString();
}

QStringList childrenOf(QDBusConnection& bus, const QString& service, const QString& path) {
    const QDBusMessage reply =
        bus.call(callOn(service, path, kAccessible, QStringLiteral("GetChildren")));
    QStringList paths;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return paths;
    const QDBusArgument children = reply.arguments().at(0).value<QDBusArgument>();
    children.beginArray();
    while (!children.atEnd()) {
        QString owner;
        QDBusObjectPath child;
        children.beginStructure();
        children >> owner >> child;
        children.endStructure();
        paths << child.path();
    }
    children.endArray();
    return paths;
}

// The path of the accessible named `wanted` below `path`, searched a few levels deep.
QString find(QDBusConnection& bus, const QString& service, const QString& path,
             const QString& wanted, int depth) {
    if (nameOf(bus, service, path) == wanted) return path;
    if (depth == 0) return {};
    for (const QString& child : childrenOf(bus, service, path))
        if (QString found = find(bus, service, child, wanted, depth - 1); !found.isEmpty())
            return found;
    return {};
}

QString accessibilityBusAddress() {
    const QDBusMessage reply = QDBusConnection::sessionBus().call(
        callOn(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
               QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")));
    return reply.arguments().isEmpty() ? QString() : reply.arguments().at(0).toString();
}

// Listens as a screen reader does: the registry tells the window's bridge which events a client
// wants (the bridge sends only those), and the bus delivers them here.
void listenAsAScreenReader(QDBusConnection& bus) {
    const char* events[] = {"object:text-changed",
                            "object:text-caret-moved",
                            "object:text-attributes-changed",
                            "object:text-selection-changed",
                            "object:state-changed",
                            "object:children-changed",
                            "object:property-change",
                            "object:selection-changed",
                            "object:active-descendant-changed",
                            "focus:",
                            "window:"};
    for (const char* event : events)
        bus.call(callOn(QStringLiteral("org.a11y.atspi.Registry"),
                        QStringLiteral("/org/a11y/atspi/registry"),
                        QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("RegisterEvent"),
                        {QString::fromLatin1(event), QStringList(), QString()}));
    for (const char* interface : {"Object", "Focus", "Window"})
        bus.call(callOn(QStringLiteral("org.freedesktop.DBus"),
                        QStringLiteral("/org/freedesktop/DBus"),
                        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("AddMatch"),
                        {QStringLiteral("type='signal',interface='org.a11y.atspi.Event.%1'")
                             .arg(QLatin1String(interface))}));
}

class Reader : public QObject {
public:
    Reader(QDBusConnection bus, QString service, QString path)
        : bus_(std::move(bus)), service_(std::move(service)), path_(std::move(path)) {
        connect(&ask_, &QTimer::timeout, this, [this] { askOnce(); });
        ask_.start(kAskMilliseconds);
    }
    void command(const QByteArray& line) {
        if (line == "mark") {
            longest_ = 0;
            answers_ = 0;
            // An ask the window left unanswered before the mark counts from the mark.
            if (inFlight_) sent_.start();
        } else if (line == "report") {
            const qint64 waiting = inFlight_ ? sent_.elapsed() : 0;
            std::printf("longest_answer_ms=%lld answers=%d\n",
                        static_cast<long long>(std::max(longest_, waiting)), answers_);
            std::fflush(stdout);
        }
    }

private:
    void askOnce() {
        if (inFlight_) return;  // a client waits for its answer before it asks again
        inFlight_ = true;
        sent_.start();
        auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(nameRequest(service_, path_)));
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this](QDBusPendingCallWatcher* w) {
                    longest_ = std::max(longest_, sent_.elapsed());
                    ++answers_;
                    inFlight_ = false;
                    w->deleteLater();
                });
    }

    QDBusConnection bus_;
    QString service_;
    QString path_;
    QTimer ask_;
    QElapsedTimer sent_;
    bool inFlight_ = false;
    qint64 longest_ = 0;
    int answers_ = 0;
};

}  // namespace

int RunReader(qint64 windowPid) {
    const QString address = accessibilityBusAddress();
    if (address.isEmpty()) {
        std::fprintf(stderr, "reader: no accessibility bus\n");
        return 1;
    }
    QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("reader"));
    QString service;
    QString button;
    for (int attempt = 0; attempt < 100 && button.isEmpty(); ++attempt) {
        for (const QString& name : bus.interface()->registeredServiceNames().value())
            if (name.startsWith(u':') && bus.interface()->servicePid(name).value() == windowPid)
                service = name;
        if (!service.isEmpty())
            button = find(bus, service, kRootPath, QStringLiteral("Find Differences (Words)"), 4);
        if (button.isEmpty()) QThread::msleep(100);
    }
    if (button.isEmpty()) {
        std::fprintf(stderr, "reader: the window's button is not on the accessibility bus\n");
        return 1;
    }
    if (qEnvironmentVariableIsSet("CORVELLA_READER_LISTENS")) listenAsAScreenReader(bus);
    Reader reader(bus, service, button);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            QCoreApplication::quit();
            return;
        }
        pending.append(buffer, got);
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            reader.command(pending.left(end));
            pending.remove(0, end + 1);
        }
    });
    std::printf("ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

bool ReaderProcess::start(const QString& program) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(
        program, {QStringLiteral("--reader"), QString::number(QCoreApplication::applicationPid())});
    if (readLine() == "ready") return true;
    std::fprintf(stderr, "no accessibility reader\n");
    return false;
}

void ReaderProcess::mark() { process_.write("mark\n"); }

qint64 ReaderProcess::longestAnswerMs() {
    process_.write("report\n");
    const QByteArray line = readLine();
    const qsizetype at = line.indexOf('=');
    return at < 0 ? -1 : line.mid(at + 1, line.indexOf(' ') - at - 1).toLongLong();
}

QByteArray ReaderProcess::readLine() {
    // The window keeps answering the reader while it waits for the line.
    while (process_.state() != QProcess::NotRunning && !process_.canReadLine()) {
        QCoreApplication::processEvents();
        process_.waitForReadyRead(5);
    }
    return process_.readLine().trimmed();
}

}  // namespace corvella::bench
