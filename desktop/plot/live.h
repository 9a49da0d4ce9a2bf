// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The desktop's MQTT client for a live class (core/live.h has the class
// itself): libmosquitto over the plain MQTT listener of the school's broker.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include <QByteArray>
#include <QObject>
#include <QString>

#include "core/live.h"

struct mosquitto;

// One connection to the broker, for one class, as the teacher (who
// publishes the lesson and reads the broker's client count) or a student
// (who reads the lesson). libmosquitto runs its own network thread, which
// also reconnects with a growing pause; every callback is handed to the
// GUI thread, in the order it came, as a signal.
class LiveConnection : public QObject, public tc::live::Link {
    Q_OBJECT
public:
    using Role = tc::live::LiveClass::Role;
    LiveConnection(const QString& host, int port, Role role, const std::string& className, const QString& password);
    ~LiveConnection() override;
    LiveConnection(const LiveConnection&) = delete;
    LiveConnection& operator=(const LiveConnection&) = delete;

    // Retained, QoS 1, on the class's lesson topic.
    void publish(std::string_view bytes) override;
    // Disconnects; no signal after this. The network thread ends on its
    // own: it may be stuck for minutes in a connect() that a firewall
    // never answers, and the screen must not wait for it.
    void stop();

    // "host:porta" ("[::1]:porta" for IPv6); without a port, the one
    // tools/classe.sh gives the program by default.
    static std::optional<std::pair<QString, int>> parseAddress(const QString& address);
    static constexpr int defaultPort = 8081;

signals:
    void arrived(const QByteArray& bytes);
    void connectionChanged(bool connected);
    void clientsConnected(int count);
    // The connection ended for good, and why (in Italian, for the user).
    void failed(const QString& why);

private:
    // What the network thread's callbacks reach, for as long as the thread
    // runs: the connection while it lives.
    struct Relay;
    std::shared_ptr<Relay> relay_;
    mosquitto* mosq_ = nullptr;
};

class Form4;

// A class the screen is in: the connection and the core's part, bound.
class LiveSession {
public:
    LiveSession(Form4& form4, const QString& host, int port, LiveConnection::Role role, const std::string& className,
                const QString& password);
    ~LiveSession();
    LiveSession(const LiveSession&) = delete;
    LiveSession& operator=(const LiveSession&) = delete;

    tc::live::LiveClass& liveClass() { return *class_; }
    LiveConnection& connection() { return *link_; }

private:
    // Deleted later: the session may end inside one of its signals.
    LiveConnection* link_;
    std::unique_ptr<tc::live::LiveClass> class_;
};
